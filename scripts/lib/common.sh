# Shared by scripts/test, scripts/demo and scripts/bench: packages, builds, the Wine prefix, Xvfb.
# Source it; it sets ROOT, BUILD_DIR and exports the Wine environment.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
export WINEPREFIX=$BUILD_DIR/wine
export WINEDEBUG=-all
# Wine turns command-line arguments (Chinese window titles in tests) into UTF-16 by the locale.
export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
# Test builds talk to a content server on this port and probe a name that always resolves.
KOVALT_TEST_PORT=${KOVALT_TEST_PORT:-8391}

PACKAGES_AMD64=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make googletest python3
    wine wine64 xvfb xauth xdotool x11-apps x11-xserver-utils imagemagick fonts-wqy-microhei fonts-wine
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good locales
)
PACKAGES_I386=(wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386)

log() { printf '== %s\n' "$*" >&2; }

install_deps() {
    local missing=()
    for p in "${PACKAGES_AMD64[@]}" "${PACKAGES_I386[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build_arch ARCH [extra cmake args...]: configure and build one architecture under $BUILD_DIR/ARCH.
build_arch() {
    local arch=$1
    shift
    local dir=$BUILD_DIR/$arch
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch-w64-mingw32.cmake" \
        -DKOVALT_CONTENT_SERVER="http://127.0.0.1:$KOVALT_TEST_PORT" \
        -DKOVALT_SITE_URL="http://127.0.0.1:$KOVALT_TEST_PORT/site" \
        -DKOVALT_FORUM_URL="http://127.0.0.1:$KOVALT_TEST_PORT/forum" \
        -DKOVALT_PROBE_HOST=localhost -DKOVALT_OFFLINE_PROBE_HOST=kovalt-offline.invalid \
        "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j2
}

# A private Wine prefix under the build folder, made once and reused.
prepare_prefix() {
    [ -f "$WINEPREFIX/.kovalt-ready" ] && return 0
    log "making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX" "$BUILD_DIR"
    wineboot --init >"$BUILD_DIR/wineboot.log" 2>&1
    wineserver -w
    # No window manager: unmanaged windows hide and minimise without stalls.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
    local font
    for font in 宋体 SimSun 'MS Shell Dlg' 'MS Shell Dlg 2'; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null
    done
    # Pages the programs ask the shell to open are recorded instead of shown.
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$ROOT/tests/tools/capture-url" /f >/dev/null
    cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.kovalt-ready"
}

# Music plays into a null ALSA device: tests need a working device, not speakers. The setting goes
# to this run's programs only; the user's own sound configuration is left alone.
prepare_audio() {
    printf '</usr/share/alsa/alsa.conf>\npcm.!default { type null }\nctl.!default { type hw card 0 }\n' \
        >"$BUILD_DIR/asound.conf"
    export ALSA_CONFIG_PATH=$BUILD_DIR/asound.conf
}

XVFB_PID=""
# start_xvfb [WxH]: a private X server on the first free display number.
start_xvfb() {
    local size=${1:-1024x768} n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"$BUILD_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    log "Xvfb did not start"
    return 1
}

# A persistent wineserver with its services already up: later wine calls start in a fraction of a
# second, and no service inherits (and holds open) the output pipe of a test.
start_wineserver() {
    # One may be running already for this prefix (a demo, an earlier run): it serves as well.
    wineserver -p >"$BUILD_DIR/wineserver.log" 2>&1 || true
    wine cmd /c exit >>"$BUILD_DIR/wineserver.log" 2>&1
}

stop_services() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
}
