#pragma once

// The class's name and base, for classes that tell what they are at run time.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
};
