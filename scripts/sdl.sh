# Sourced: which SDL 1.2 this system has and which its packages offer.
# This is the one place that tells the classic library from the
# compatibility layer over SDL 2, and that finds the layer's runtime.
#
#   sdl_headers_package          the installed package that ships SDL/SDL.h
#   sdl_package_kind PACKAGE     classic or compat, by its installed version
#   sdl_candidate_kind PACKAGE   the same for the version apt would install
#   sdl_package_for WANT         the headers package for default|classic|compat
#   sdl_system_runtime           the libSDL-1.2.so.0 the dynamic linker finds
#   sdl_system_runtime_kind      classic or compat, by the library itself
#   sdl_layer_runtime_dir        a folder with the layer's libSDL-1.2.so.0 that
#                                is not the system's own (Debian 12's
#                                libsdl1.2-compat); empty where there is none,
#                                as where the system's own SDL 1.2 is the layer
#
# The versions tell the two apart: the classic library ends at 1.2.15 and
# the layer numbers its releases from 1.2.50 (Debian 12: 1.2.60, 13: 1.2.68).

sdl_version_kind() {
    if [ -z "$1" ] || [ "$1" = "(none)" ]; then
        return 0
    elif dpkg --compare-versions "$1" ge 1.2.50; then
        echo compat
    else
        echo classic
    fi
}

sdl_kind_words() {
    case "$1" in
        classic) echo "the classic library" ;;
        compat) echo "the compatibility layer over SDL 2" ;;
        *) echo "unknown" ;;
    esac
}

sdl_installed_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true; }

sdl_headers_package() {
    dpkg -S /usr/include/SDL/SDL.h 2>/dev/null | sed -n '1s/[:,].*//p' || true
}

sdl_package_kind() { sdl_version_kind "$(sdl_installed_version "$1")"; }

sdl_candidate_version() { apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: //p'; }

sdl_candidate_kind() { sdl_version_kind "$(sdl_candidate_version "$1")"; }

sdl_package_for() {
    local want=$1
    case "$want" in
        default) echo libsdl1.2-dev ;;
        classic)
            if [ "$(sdl_candidate_kind libsdl1.2-dev)" = classic ]; then
                echo libsdl1.2-dev
            else
                echo "setup.sh: this system offers no classic SDL 1.2: its libsdl1.2-dev" \
                    "($(sdl_candidate_version libsdl1.2-dev)) is the compatibility layer over SDL 2" >&2
                return 1
            fi ;;
        compat)
            if [ "$(sdl_candidate_kind libsdl1.2-dev)" = compat ]; then
                echo libsdl1.2-dev
            elif [ "$(sdl_candidate_kind libsdl1.2-compat-dev)" = compat ]; then
                echo libsdl1.2-compat-dev
            else
                echo "setup.sh: this system offers no SDL 1.2 compatibility layer" >&2
                return 1
            fi ;;
    esac
}

# The layer's library names its SDL12COMPAT_* settings; the classic one has none.
sdl_is_layer() { grep -q SDL12COMPAT_ "$(readlink -f "$1")" 2>/dev/null; }

sdl_system_runtime() {
    /sbin/ldconfig -p 2>/dev/null | awk '$1 == "libSDL-1.2.so.0" { print $NF; exit }'
}

sdl_system_runtime_kind() {
    local library
    library=$(sdl_system_runtime)
    if [ -z "$library" ]; then
        return 0
    elif sdl_is_layer "$library"; then
        echo compat
    else
        echo classic
    fi
}

sdl_layer_runtime_dir() {
    local system candidate
    system=$(readlink -f "$(sdl_system_runtime)" 2>/dev/null || true)
    while read -r candidate; do
        if [ "$(readlink -f "$candidate")" != "$system" ] && sdl_is_layer "$candidate"; then
            dirname "$candidate"
            return 0
        fi
    done < <(find /usr/lib /usr/lib64 /usr/local/lib -maxdepth 3 -name libSDL-1.2.so.0 2>/dev/null | sort)
}
