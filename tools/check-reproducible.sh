#!/usr/bin/env bash
# Builds the release twice, in two fresh build folders, and fails unless every shipped file and the
# zip itself are byte-identical: nothing from the clock or the build folder may reach the output.
# Then signs the first with a throwaway self-signed certificate: every signature must verify, and
# removing it must give back exactly the unsigned bytes; SHA256SUMS must match what it lists, and
# the zip must hold the guide, its recipes and what it links to (tools/check-release-contents.sh).
# usage: tools/check-reproducible.sh WORK_DIR       (exit 77 = cannot run here, reported as skipped)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:?work folder}
for tool in cmake ninja zip unzip clang++ ld.lld i686-w64-mingw32-g++-posix i686-w64-mingw32-windres osslsigncode openssl; do
  command -v "$tool" >/dev/null || { echo "reproducible: skipped, $tool is not installed"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
for run in a b; do
  bash "$root/tools/release.sh" --build-dir "$work/build-$run" --out "$work/attente-$run.zip" >/dev/null
done

status=0
for name in $(cd "$work/build-a/stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); do
  file=$work/build-a/stage/$name
  if ! cmp -s "$file" "$work/build-b/stage/$name"; then
    echo "reproducible: $name differs between the two builds" >&2
    cmp -l "$file" "$work/build-b/stage/$name" | head -5 >&2 || true
    status=1
  fi
done
cmp -s "$work/attente-a.zip" "$work/attente-b.zip" || { echo "reproducible: the zips differ" >&2; status=1; }
[ "$status" -eq 0 ] && echo "reproducible: $(find "$work/build-a/stage" -type f | wc -l) files and the zip are identical"
# SHA256SUMS (the last build's) lists the zip and each file in it: checked where the zip is unpacked
# beside it.
checksums_match() {
  local dir=$1 zip=$2 check
  check=$(mktemp -d)
  cp "$dir/SHA256SUMS" "$zip" "$check"/ && (cd "$check" && unzip -q "$(basename "$zip")" && sha256sum --quiet -c SHA256SUMS)
  local result=$?
  rm -rf "$check"
  return $result
}
checksums_match "$work" "$work/attente-b.zip" || { echo "reproducible: SHA256SUMS does not match" >&2; status=1; }
bash "$root/tools/check-release-contents.sh" "$work/attente-b.zip" "$root" || status=1

# Signed: a certificate made here, its password in a file as the release takes it.
unsigned=$work/unsigned
cp -r "$work/build-a/stage" "$unsigned"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Attente test signer" -keyout "$work/key.pem"   -out "$work/cert.pem" 2>/dev/null
printf 'test password' >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout file:"$work/password"   -out "$work/signer.p12"
ATTENTE_SIGN_PKCS12=$work/signer.p12 ATTENTE_SIGN_PASSWORD_FILE=$work/password   bash "$root/tools/release.sh" --build-dir "$work/build-a" --out "$work/signed/attente.zip" >/dev/null
for file in "$unsigned"/attente.*; do
  name=$(basename "$file")
  signed=$work/build-a/stage/$name
  if ! osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1; then
    echo "reproducible: the signature of $name does not verify" >&2; tail -3 "$work/verify.log" >&2; status=1
  fi
  osslsigncode remove-signature -in "$signed" -out "$work/removed" >/dev/null
  cmp -s "$work/removed" "$file" || { echo "reproducible: $name without its signature differs" >&2; status=1; }
  rm -f "$work/removed"
done
checksums_match "$work/signed" "$work/signed/attente.zip" || { echo "reproducible: signed SHA256SUMS does not match" >&2; status=1; }
bash "$root/tools/check-release-contents.sh" "$work/signed/attente.zip" "$root" || status=1
[ "$status" -eq 0 ] && echo "reproducible: signed, verified, and the same bytes without the signatures"
rm -rf "$work"
exit $status
