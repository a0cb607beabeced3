#!/usr/bin/env bash
# Builds the Debian package from a build folder, installs it into a scratch root with dpkg,
# tries the installed programs there, checks the desktop entry, file type and AppStream
# data, removes the package again and checks that nothing it installed is left.
# Exit 77 (skipped) with the reason when the tools are missing.
set -euo pipefail
build=$(cd "${1:?usage: package-test.sh BUILD_FOLDER}" && pwd)

for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (the package test needs dpkg, dpkg-dev and cmake)"
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# The package.
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; fail "cpack did not make the package"; }
package=$(ls "$scratch"/out/fendral_*.deb 2>/dev/null | head -n1)
[ -n "$package" ] || fail "no fendral_*.deb in the cpack output"
depends=$(dpkg-deb -f "$package" Depends)
echo "package: $(basename "$package"), Depends: $depends"
for library in libqt6widgets6 libcurl; do
  grep -q "$library" <<<"$depends" || fail "the dependencies miss $library"
done

# A scratch root with its own dpkg database: no root rights needed, nothing touches the system.
root="$scratch/root"
admin="$scratch/admin"
mkdir -p "$root" "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/status" "$admin/available"
run_dpkg() {
  dpkg --force-not-root --force-depends --force-script-chrootless --admindir="$admin" --instdir="$root" \
       --log=/dev/null --no-triggers "$@" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; fail "dpkg $*"; }
}
run_dpkg -i "$package"
installed=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./||')

# The installed programs find their plug-ins and data folder relative to themselves.
cli="$root/usr/bin/fendral-cli"
[ -x "$cli" ] || fail "fendral-cli is not installed in usr/bin"
[ -x "$root/usr/bin/fendral" ] || fail "fendral is not installed in usr/bin"
"$cli" new "$scratch/books.fend" >/dev/null || fail "fendral-cli new"
"$cli" info "$scratch/books.fend" | grep -q . || fail "fendral-cli info printed nothing"
"$cli" rates sources | grep -q "ecbrates.so" || fail "the installed fendral-cli does not find its rate sources"
"$root/usr/bin/fendral" --version | grep -q "^fendral " || fail "fendral --version"
if ls "$root"/usr/share/fendral/*.lng >/dev/null 2>&1; then
  language=$(basename "$(ls "$root"/usr/share/fendral/*.lng | head -n1)" .lng)
  "$cli" --language "$language" info "$scratch/books.fend" >/dev/null || fail "fendral-cli --language $language"
fi

# The desktop entry, the file type and the AppStream data.
entry="$root/usr/share/applications/fendral.desktop"
grep -q "^MimeType=application/x-fendral;" "$entry" || fail "the desktop entry does not claim the file type"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
fi
if command -v update-mime-database >/dev/null; then
  cp -r "$root/usr/share/mime" "$scratch/mime"
  update-mime-database "$scratch/mime" >/dev/null 2>&1 || fail "update-mime-database"
  grep -q "application/x-fendral:\*\.fend" "$scratch/mime/globs2" || fail "*.fend is not registered as application/x-fendral"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null || fail "appstreamcli validate"
fi
for page in fendral fendral-cli; do
  [ -s "$root/usr/share/man/man1/$page.1.gz" ] || echo "note: no manual page for $page (help2man missing at build time)"
done
[ -s "$root/usr/share/bash-completion/completions/fendral-cli" ] || fail "no bash completion"

# Removing takes away every file the package brought.
run_dpkg -r fendral
left=""
while read -r file; do
  [ -e "$root/$file" ] && left+=" $file"
done <<<"$installed"
[ -z "$left" ] || fail "left after dpkg -r:$left"
echo "package installed, tried and removed cleanly"
