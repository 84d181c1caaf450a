# Shared by the scripts that build third-party libraries for another target from Debian's source
# packages (build-web-deps.sh, build-windows-deps.sh), which open with begin_deps, and by the
# builds that call them (build-web.sh, build-windows.sh), which open with hold_build_folder.
# Sourced, not run: it sets `root` (the repository); the script sets `logs` (its log folder)
# before calling run_logged.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Holds the lock FILE until the script ends: a second run beside it (`./run.sh --windows` beside
# the Windows suite) waits for the first rather than both writing the same files.
hold_lock() {
    exec 9>"$1"
    if ! flock -n 9; then
        log "waiting for another run to finish"
        flock 9
    fi
}

# Takes the folder PREFIX for the script's own, made if missing, sets `prefix` to its absolute
# path, and holds its lock (PREFIX/work/lock). A rebuild replaces what is in the folder, so a
# folder with other files in it is refused before anything is installed or changed, unless the
# script made it (its mark) or an earlier version of it filled it (its stamp): never /usr/local.
claim_prefix() {
    local mark="made-by-$deps_name"
    if [[ -d $1 && ! -f $1/$mark && ! -f $1/$deps_name.stamp && -n $(ls -A "$1") ]]; then
        fail "refusing $1: it holds files this script did not put there; name a new or empty folder"
    fi
    mkdir -p "$1"
    prefix="$(cd "$1" && pwd)"
    touch "$prefix/$mark"
    mkdir -p "$prefix/work"
    hold_lock "$prefix/work/lock"
}

# The opening of a dependency script named NAME (in its messages): claims the folder PREFIX
# (claim_prefix) and installs what install-deps.sh's PROFILE lists, when missing. Sets `work`
# (PREFIX/work) and `jobs`.
begin_deps() {
    deps_name=$1
    claim_prefix "$2"
    work="$prefix/work"
    # At most two compile jobs: the machines that run this are small and shared.
    jobs=$(($(nproc) < 2 ? $(nproc) : 2))
    "$root/scripts/install-deps.sh" "$3"
}

# Makes the build folder FOLDER and holds FOLDER/lock (hold_lock): one build at a time in it.
hold_build_folder() {
    deps_name=$1
    mkdir -p "$1"
    hold_lock "$1/lock"
}

log() { echo "$deps_name: $*"; }
fail() { echo "$deps_name: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# The source version of the first of the binary packages named that is installed, or else apt's
# candidate for the first: the version the desktop build uses, so that the builds import alike.
source_version() {
    local package
    for package in "$@"; do
        if installed "$package"; then
            dpkg-query -W -f='${source:Version}' "$package"
            return
        fi
    done
    apt-cache show --no-all-versions "$1" | awk '
        /^Version:/ { version = $2 }
        /^Source:/ && $3 != "" { source = $3; gsub(/[()]/, "", source) }
        END { print (source != "" ? source : version) }'
}

# Runs a command with its output in $logs/NAME.log; shows the log's end if it fails.
run_logged() {
    local name="$1"
    shift
    if ! "$@" >>"$logs/$name.log" 2>&1; then
        tail -n 40 "$logs/$name.log" >&2
        fail "failed: $* (whole log: $logs/$name.log)"
    fi
}

# Unpacks Debian's Assimp source package DSC into DEST, ready for an OBJ-only build: one of
# Debian's patches makes Assimp require the draco library, which the OBJ importer does not use,
# and it is taken back out.
unpack_assimp_for_obj() {
    local dsc="$1" dest="$2"
    local draco_patch=debian/patches/use-system-libdraco.patch
    run_logged unpack dpkg-source -x "$dsc" "$dest"
    if [[ -f $dest/$draco_patch ]]; then
        (cd "$dest" && run_logged unpack patch -R -p1 -i "$draco_patch")
    fi
    if grep -q 'find_package(draco CONFIG REQUIRED)' "$dest/code/CMakeLists.txt"; then
        fail "Debian's assimp still asks for draco"
    fi
}

# Debian's repack of Assimp drops its bundled utf8cpp: Debian's header-only package instead,
# downloaded into DOWNLOADS once and unpacked into DEST. Prints the folder to include.
utf8cpp_include() {
    local downloads="$1" dest="$2" deb
    deb="$(find "$downloads" -maxdepth 1 -name 'libutfcpp-dev_*.deb' | head -n 1)"
    if [[ -z $deb ]]; then
        local sandbox=()
        [[ $(id -u) -eq 0 ]] && sandbox=(-o APT::Sandbox::User=root)
        (cd "$downloads" && run_logged apt apt-get "${sandbox[@]}" download libutfcpp-dev)
        deb="$(find "$downloads" -maxdepth 1 -name 'libutfcpp-dev_*.deb' | head -n 1)"
    fi
    dpkg-deb -x "$deb" "$dest"
    [[ -f $dest/usr/include/utf8cpp/utf8.h ]] || fail "no utf8.h in $deb"
    echo "$dest/usr/include/utf8cpp"
}
