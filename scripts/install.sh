#!/usr/bin/env bash
# `make install` and `make uninstall`: copies the program, pevrand-convert, their manual pages,
# the menu entry, the metainfo and the icons from build folder BUILD into PREFIX, and removes
# exactly those files again.
#
#   install.sh install BUILD PREFIX
#   install.sh uninstall BUILD
#
# The build stays the user's: only the copy and the removal go through sudo, and only where
# PREFIX (or the files installed into it) can't be written. What was installed is listed in
# BUILD/install_manifest.txt with the folders the install made, so that uninstall removes
# those files, then those folders where they are left empty, and nothing else.
set -euo pipefail

action=${1:?install or uninstall}
build=${2:?build folder}
manifest=$build/install_manifest.txt
made=$build/install_folders.txt

# The nearest folder of $1 that exists.
existing() {
    local dir=$1
    while [ ! -e "$dir" ]; do dir=$(dirname "$dir"); done
    echo "$dir"
}

# Runs "$@" as root through sudo when the folder $1 can't be written by this user.
as_owner_of() {
    local dir
    dir=$(existing "$1")
    shift
    if [ -w "$dir" ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        echo "$dir is not writable: running through sudo: $*"
        sudo "$@"
    else
        echo "install: $dir is not writable and sudo isn't here; install into a folder of" \
             "your own with PREFIX=\$HOME/.local, or ask an administrator" >&2
        exit 1
    fi
}

case $action in
install)
    prefix=${3:?prefix}
    case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
    # A rehearsal into a scratch folder tells which files the install writes, and so which
    # of their folders don't exist yet: those are the install's own.
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    DESTDIR=$stage cmake --install "$build" --prefix "$prefix" --component pevrand >/dev/null
    : >"$made.new"
    (cd "$stage" && find . -type f -o -type l) | while read -r file; do
        dir=$(dirname "${file#.}")
        while [ ! -e "$dir" ] && [ "$dir" != / ]; do
            echo "$dir" >>"$made.new"
            dir=$(dirname "$dir")
        done
    done
    as_owner_of "$prefix" cmake --install "$build" --prefix "$prefix" --component pevrand
    # An install again keeps what the earlier one recorded.
    touch "$made" "$manifest"
    sort -u "$made.new" "$made" -o "$made"
    rm -f "$made.new"
    installed=$build/install_manifest_pevrand.txt
    [ -f "$installed" ] || { echo "install: cmake wrote no manifest" >&2; exit 1; }
    sort -u "$installed" "$manifest" -o "$manifest"
    echo "Installed $(wc -l <"$manifest") files under $prefix (listed in $manifest);" \
         "make uninstall removes them"
    ;;
uninstall)
    [ -f "$manifest" ] || { echo "uninstall: $manifest is missing: nothing was installed from $build" >&2; exit 1; }
    count=0
    while read -r file; do
        [ -n "$file" ] || continue
        if [ -e "$file" ] || [ -L "$file" ]; then
            as_owner_of "$(dirname "$file")" rm -f -- "$file"
            count=$((count + 1))
        fi
    done <"$manifest"
    # The folders the install made, deepest first, where they are empty now.
    if [ -f "$made" ]; then
        sort -r "$made" | while read -r dir; do
            if [ -d "$dir" ] && [ -z "$(ls -A "$dir")" ]; then
                as_owner_of "$(dirname "$dir")" rmdir -- "$dir"
            fi
        done
    fi
    rm -f "$manifest" "$made" "$build/install_manifest_pevrand.txt"
    echo "Removed $count files that make install had put there"
    ;;
*)
    echo "usage: install.sh install BUILD PREFIX | uninstall BUILD" >&2
    exit 2
    ;;
esac
