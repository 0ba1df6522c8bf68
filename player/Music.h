#pragma once

// Writes the MP3 compiled into the executable to the temporary folder and
// starts it looping under the MCI alias "mymusic". Failures are silent.
void StartMusic();

// Writes the "MP3"/"background.mp3" resource of the running executable to
// pszPath, replacing any earlier file. False when the file cannot be created.
bool WriteMusicFile(const char* pszPath);
