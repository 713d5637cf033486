#!/usr/bin/env bash
# Fetches the SQLite amalgamation from the pinned registry package, checks both
# pinned hashes and unpacks sqlite3.c and sqlite3.h into the given folder.
set -euo pipefail
dest=${1:?usage: fetch-sqlite.sh DEST_DIR}
outer_sha=ab8d044a93e05bd031d7ea75547c7fa60387cdc259d27f93c0e3e2832c4b1df9
inner_sha=f6b50b0c103392af32a8be15b2b9d25959de9a00a70c3979128aafeaa5338b3f
inner=package/deps/sqlite-autoconf-3520000.tar.gz
[ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] && exit 0
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"
npm pack --silent sqlite3@6.0.1 >/dev/null
echo "$outer_sha  sqlite3-6.0.1.tgz" | sha256sum -c --quiet
tar xzf sqlite3-6.0.1.tgz "$inner"
echo "$inner_sha  $inner" | sha256sum -c --quiet
tar xzf "$inner"
mkdir -p "$dest"
cp sqlite-autoconf-3520000/sqlite3.c sqlite-autoconf-3520000/sqlite3.h "$dest/"
echo "SQLite amalgamation ready in $dest"
