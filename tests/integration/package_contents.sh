#!/usr/bin/env bash
# Builds the Debian package and checks its contents: exactly the files an
# install under /usr puts there, every one the program needs, nothing from
# the build folder, no run path into it, and dependencies worked out from
# the binaries.
# Usage: bash tests/integration/package_contents.sh BUILD
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)

fail() { echo "package_contents: FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps readelf file; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/pkg/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, got: ${debs[*]}"
deb=${debs[0]}

# The package's files against those of an install under /usr.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/deb.txt"
DESTDIR="$work/root" cmake --install "$BUILD" --prefix /usr >/dev/null
(cd "$work/root" && find . ! -type d | sed 's|^\./|/|' | sort) >"$work/install.txt"
diff -u "$work/install.txt" "$work/deb.txt" >&2 || fail "the package and an install differ"

for f in /usr/bin/vivizu /usr/bin/vivizu-cli /usr/lib/vivizu/libvivizu-media.so \
         /usr/share/vivizu/Languages/English.isl \
         /usr/share/vivizu/MarkStart.bmp /usr/share/vivizu/MarkEnd.bmp \
         /usr/share/vivizu/MarkStartD.bmp /usr/share/vivizu/MarkEndD.bmp \
         /usr/share/applications/vivizu.desktop \
         /usr/share/icons/hicolor/16x16/apps/vivizu.png \
         /usr/share/icons/hicolor/256x256/apps/vivizu.png \
         /usr/share/icons/hicolor/scalable/apps/vivizu.svg \
         /usr/share/man/man1/vivizu.1.gz /usr/share/man/man1/vivizu-cli.1.gz \
         /usr/share/doc/vivizu/LICENSE; do
  grep -qx "$f" "$work/deb.txt" || fail "$f is missing from the package"
done
ls "$work"/root/usr/share/metainfo/*.metainfo.xml >/dev/null || fail "no AppStream file"
if grep -E 'CMakeFiles|_CPack|\.o$|\.a$|_tests$|/tests/|CMakeCache|\.cmake$' "$work/deb.txt" >&2; then
  fail "build files leaked into the package"
fi

# The unpacked binaries: no run path and no trace of the build folder.
dpkg-deb -x "$deb" "$work/unpacked"
while IFS= read -r -d '' f; do
  file -b "$f" | grep -q '^ELF' || continue
  if readelf -d "$f" | grep -Eq 'RPATH|RUNPATH'; then fail "$f has a run path"; fi
  if grep -qaF "$BUILD" "$f"; then fail "$f names the build folder $BUILD"; fi
done < <(find "$work/unpacked" -type f -print0)

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libmpg123-0 libsdl2-2.0-0; do
  grep -q "$lib" <<<"$depends" || fail "Depends does not name $lib: $depends"
done
echo "package_contents: ok ($(basename "$deb"), $(wc -l <"$work/deb.txt") files)"
