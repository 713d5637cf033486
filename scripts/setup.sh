#!/usr/bin/env bash
# Installs what building and testing Corvexa2 needs, and only what is
# missing, then fetches the pinned SQLite amalgamation. Silent when the
# machine already has everything; safe to run again at any time.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages: compilers and build tools, Wine with an X server for the
# Windows build, Wine's own fonts (Marlett draws the caption buttons; wine64
# only recommends them, and a machine that skips recommendations draws
# "0 1 r" instead), window lists and screenshots (xwininfo, xwd, convert),
# network namespaces (ip), the SQLite shell that tests use to inspect
# database files, GoogleTest, and setpriv (util-linux), which ties a Wine
# test to its launcher.
packages=(
    g++ gcc make cmake googletest libsqlite3-dev sqlite3
    g++-mingw-w64-x86-64-posix wine64 fonts-wine
    xvfb x11-utils x11-apps imagemagick iproute2 procps util-linux
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
# npm fetches the SQLite package; some node builds bring their own npm.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "setup: missing packages (${missing[*]}), and neither root nor sudo is available" >&2
            exit 1
        fi
    fi
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

sqlite_dir=${CORVEXA2_SQLITE_DIR:-$HOME/.cache/corvexa2/sqlite-autoconf-3520000}
if [ ! -f "$sqlite_dir/sqlite3.c" ] || [ ! -f "$sqlite_dir/sqlite3.h" ]; then
    bash "$root/scripts/fetch-sqlite.sh" "$sqlite_dir"
fi
