#!/usr/bin/env bash
# Downloads Debian source packages (the .dsc and its files) into DOWNLOADS through private sources
# lists with deb-src lines for the Debian archives this machine uses; the system's apt
# configuration, lists and caches are left alone. One archive at a time, the main one first: an
# archive can list a version whose files it does not serve (bookworm-security lists zlib
# 1:1.2.13.dfsg-1 too, and a mirror answered 404 for it). A package already fetched is not
# fetched again. apt's output goes to LOG.
# Usage: scripts/fetch-debian-sources.sh DOWNLOADS LOG NAME VERSION [NAME VERSION ...]
set -euo pipefail

downloads="$1"
log="$2"
shift 2
sources=("$@")
mkdir -p "$downloads"

fetched_mark() { echo "$downloads/.fetched-${1}_${2#*:}"; }
all_fetched() {
    local i
    for ((i = 0; i < ${#sources[@]}; i += 2)); do
        [[ -f $(fetched_mark "${sources[i]}" "${sources[i + 1]}") ]] || return 1
    done
}
all_fetched && exit 0

apt_dir="$downloads/.apt"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
signed_by=""
[[ -f $keyring ]] && signed_by="[signed-by=$keyring] "
# shellcheck disable=SC2016 # $(...) are apt's fields, not the shell's
archives="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Origin: Debian' 'Identifier: Packages' | awk '!seen[$0]++')"
if [[ -z $archives ]]; then
    # apt has no lists yet to tell the Debian archives from others: Debian's main mirror.
    # shellcheck disable=SC1091
    . /etc/os-release
    archives="http://deb.debian.org/debian $VERSION_CODENAME main"
fi
number=0
while read -r uri suite component; do
    number=$((number + 1))
    dir="$apt_dir/$number"
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/sources.list.d"
    echo "deb-src $signed_by$uri $suite $component" >"$dir/sources.list"
    apt_options=(-o "Dir::Etc::SourceList=$dir/sources.list"
                 -o "Dir::Etc::SourceParts=$dir/sources.list.d"
                 -o "Dir::State::Lists=$dir/lists"
                 -o "Dir::Cache=$dir/cache")
    [[ $(id -u) -ne 0 ]] || apt_options+=(-o "APT::Sandbox::User=root")
    apt-get "${apt_options[@]}" update >>"$log" 2>&1 || continue
    for ((i = 0; i < ${#sources[@]}; i += 2)); do
        mark="$(fetched_mark "${sources[i]}" "${sources[i + 1]}")"
        [[ ! -f $mark ]] || continue
        if (cd "$downloads" && apt-get "${apt_options[@]}" source --download-only \
            "${sources[i]}=${sources[i + 1]}") >>"$log" 2>&1; then
            touch "$mark"
        fi
    done
    ! all_fetched || break
done <<<"$archives"
if ! all_fetched; then
    echo "could not download the sources of ${sources[*]} from:" \
        "$(echo "$archives" | tr '\n' ';') (log: $log)" >&2
    exit 1
fi
