#!/usr/bin/env bash
# `cmake --install` of the built tree into a scratch prefix: the tree holds the program, its own
# files and the desktop integration, the desktop entry and the MIME description are valid, and the
# installed program, started there, finds its files under the prefix. Nothing is built here.
# Usage: InstallTest.sh BUILD_FOLDER [CMAKE]
set -euo pipefail
build="$1"
cmake="${2:-cmake}"
scratch="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$scratch/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
    cat "$scratch/install.log" >&2
    fail "cmake --install failed"
}

[ -x "$prefix/bin/zandor" ] || fail "no program in bin/"
for file in share/zandor/fonts/ZandorLarge-8x16.bdf share/zandor/fonts/ZandorTiny-8x8.bdf \
            share/zandor/languages/English.vlf share/zandor/help/index.html \
            share/applications/zandor.desktop share/icons/hicolor/scalable/apps/zandor.svg \
            share/mime/packages/zandor.xml share/man/man1/zandor.1.gz share/doc/zandor/copyright \
            share/thumbnailers/zandor.thumbnailer; do
    [ -s "$prefix/$file" ] || fail "$file is missing from the installed tree"
done
# Nothing of the build's own (the font tool, the tests) goes along.
extra="$(find "$prefix/bin" -type f ! -name zandor)"
[ -z "$extra" ] || fail "more than the program in bin/: $extra"

entry="$prefix/share/applications/zandor.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
grep -qx 'Icon=zandor' "$entry" || fail "the entry does not name the installed icon"

# The types the entry claims: .nfo's comes from the shared database, .diz's from ours, which the
# database's own tool must accept and map to the extension.
grep -q '^MimeType=.*text/x-nfo;' "$entry" || fail "the entry does not claim .nfo files"
grep -q '^MimeType=.*text/x-diz;' "$entry" || fail "the entry does not claim .diz files"
grep -qx 'text/x-nfo' /usr/share/mime/types || fail "the shared MIME database has no text/x-nfo"
# (The tool's note that the scratch prefix is outside the desktop's search path is kept out.)
update-mime-database "$prefix/share/mime" 2>"$scratch/mime.log" || {
    cat "$scratch/mime.log" >&2
    fail "update-mime-database rejects the MIME description"
}
grep -q ':text/x-diz:\*\.diz$' "$prefix/share/mime/globs2" || fail "*.diz does not map to text/x-diz"

# The manual page reads without a warning from the formatter and names every option the program's
# own help names.
man --warnings -l "$prefix/share/man/man1/zandor.1.gz" >"$scratch/man.txt" 2>"$scratch/man.log" ||
    fail "man cannot render the manual page"
[ ! -s "$scratch/man.log" ] || { cat "$scratch/man.log" >&2; fail "the manual page has formatting warnings"; }
grep -q '^NAME' "$scratch/man.txt" || fail "the manual page has no NAME section"
options="$(env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/zandor" --help |
    grep -o -E -- '--[a-z]+' | sort -u)"
[ -n "$options" ] || fail "the program's help names no options"
for option in $options; do
    grep -q -- "$option" "$scratch/man.txt" || fail "the manual page does not describe $option"
done
# The thumbnailer run as a file manager runs it: its Exec line with the size, the input and the
# output put in, the program found on the PATH, no display. A PNG picture of at most that size.
thumbnailer="$prefix/share/thumbnailers/zandor.thumbnailer"
grep -qx 'MimeType=text/x-nfo;text/x-diz;' "$thumbnailer" || fail "the thumbnailer does not name the art types"
exec_line="$(sed -n 's/^Exec=//p' "$thumbnailer")"
printf 'ART\r\n\xdb\xdb\xdb\xb0\xb1\xb2\r\n' >"$scratch/thumb.nfo"
command="${exec_line//%s/128}"
command="${command//%i/$scratch/thumb.nfo}"
command="${command//%o/$scratch/thumb.png}"
read -r -a words <<<"$command"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$prefix/bin:$PATH" ASAN_OPTIONS=detect_leaks=0 \
    XDG_CONFIG_HOME="$scratch/config" "${words[@]}" >"$scratch/thumb.log" 2>&1 ||
    { cat "$scratch/thumb.log" >&2; fail "the thumbnailer failed: $command"; }
[ "$(head -c 8 "$scratch/thumb.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "the thumbnail is not a PNG picture"
# Width and height, big-endian, at bytes 16 and 20 of a PNG file.
png_size() { od -An -j16 -N8 -tu1 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
# The text is shorter than a screen, so the thumbnail is its whole picture, enlarged by the whole
# factor that keeps the long side within 128.
env -u DISPLAY PATH="$prefix/bin:$PATH" ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME="$scratch/config" \
    zandor --export "$scratch/thumb.nfo" "$scratch/whole.png" >"$scratch/thumb.log" 2>&1 ||
    { cat "$scratch/thumb.log" >&2; fail "the export of the thumbnail's text failed"; }
read -r width height < <(png_size "$scratch/whole.png")
long=$((width > height ? width : height))
[ "$long" -le 64 ] || fail "the text's picture ($width x $height) is too large for this check"
factor=$((128 / long))
[ "$(png_size "$scratch/thumb.png")" = "$((width * factor)) $((height * factor))" ] ||
    fail "the thumbnail is $(png_size "$scratch/thumb.png"), not the $width x $height picture enlarged $factor times"

# The copyright file is in the Debian format and names the licences of the glyph sources.
copyright="$prefix/share/doc/zandor/copyright"
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the Debian format"
for licence in GPL-2.0-or-later BSD-2-clause GPL-2; do
    grep -qx "License: $licence" "$copyright" || fail "the copyright file does not state the licence $licence"
done

# The installed program, with no files beside it, opens an art file in its screen fonts and its
# English texts from share/zandor.
mkdir -m 0700 "$scratch/run"
echo 'art' >"$scratch/art.nfo"
trace="$scratch/trace.log"
env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/run" XDG_CONFIG_HOME="$scratch/config" \
    ZANDOR_TRACE="$trace" ASAN_OPTIONS=detect_leaks=0 \
    "$prefix/bin/zandor" "$scratch/art.nfo" >"$scratch/program.log" 2>&1 &
pid=$!
for _ in $(seq 600); do
    grep -q ' window shown' "$trace" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || { cat "$scratch/program.log" >&2; fail "the installed program ended"; }
    sleep 0.1
done
grep -q ' window shown' "$trace" || fail "the installed program showed no window"
grep -q " program files: $prefix/share/zandor/\$" "$trace" || { cat "$trace" >&2; fail "not the installed files"; }
grep -q " window icon: $prefix/share/icons/hicolor/scalable/apps/zandor.svg\$" "$trace" ||
    { cat "$trace" >&2; fail "the window does not show the installed icon"; }
grep -q ' screen fonts loaded$' "$trace" || { cat "$trace" >&2; fail "the screen fonts did not load"; }
grep -q " caption: Zandor - $scratch/art.nfo\$" "$trace" || { cat "$trace" >&2; fail "the file did not open"; }
echo "installed into $prefix and ran from there"
