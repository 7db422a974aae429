#!/usr/bin/env bash
# scripts/package --sign signs the saver, the uninstaller and the setup with a
# code-signing certificate; each verifies against the CA that issued it (and
# not against another), and the checksums are those of the signed files.
# Without a certificate the release is still made, unsigned, and says so.
# Usage: sign_test.sh SETUP   (the build's unsigned installer)
. "$(dirname "$0")/package_lib.sh"
unsigned_setup=$(readlink -f "$1") src=$e2e_root
name=$(basename "$unsigned_setup" -setup.exe)
pki=$E2E_TMP/pki
mkdir -p "$pki"

# make_ca NAME: a throw-away certificate authority NAME.pem with its key.
make_ca() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Hearthmoor test $1" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -keyout "$pki/$1.key" -out "$pki/$1.pem" 2>/dev/null
}
make_ca ca && make_ca other-ca
openssl req -newkey rsa:2048 -nodes -subj "/CN=Hearthmoor test signer" -keyout "$pki/signer.key" -out "$pki/signer.csr" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$pki/signer.ext"
openssl x509 -req -days 2 -in "$pki/signer.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" -CAcreateserial \
  -extfile "$pki/signer.ext" -out "$pki/signer.pem" 2>/dev/null
export HEARTHMOOR_SIGN_PASSWORD="not a secret"
openssl pkcs12 -export -inkey "$pki/signer.key" -in "$pki/signer.pem" -certfile "$pki/ca.pem" \
  -passout env:HEARTHMOOR_SIGN_PASSWORD -out "$pki/signer.pfx"
check "the test certificate is made" [ -s "$pki/signer.pfx" ]

verifies() { osslsigncode verify -CAfile "$pki/$1.pem" -in "$2" >"$E2E_TMP/verify.txt" 2>&1; }
does_not_verify() { ! verifies "$@"; }

"$src/scripts/package" --windows --out "$E2E_TMP/signed" --sign "$pki/signer.pfx" >"$E2E_TMP/signed.txt" 2>&1
check "the signed release is made" [ $? -eq 0 ]
cat "$E2E_TMP/signed.txt"
unzip -q "$E2E_TMP/signed/$name.zip" -d "$E2E_TMP/zip"
check "the checksums are those of the signed files" bash -c "cd '$E2E_TMP/signed' && sha256sum --quiet -c '$name.sha256'"

# The uninstaller exists only once installed: install the signed setup.
boot_prefix || exit 1
start_display 1024x768x24 || exit 1
prepare_prefix
run_setup "$E2E_TMP/signed/$name-setup.exe" /S /KEEPSAVER
for file in "$E2E_TMP/signed/$name-setup.exe" "$E2E_TMP/zip/$name/Hearthmoor.scr" \
  "$(system_folder)/Hearthmoor.scr" "$(program_folder)/Uninstall.exe"; do
  check "$(basename "$file") verifies against the test CA" verifies ca "$file"
  check "$(basename "$file") does not verify against another CA" does_not_verify other-ca "$file"
done

unset HEARTHMOOR_SIGN_PASSWORD
"$src/scripts/package" --windows --out "$E2E_TMP/unsigned" >"$E2E_TMP/unsigned.txt" 2>&1
check "without a certificate the release is still made" [ $? -eq 0 ]
check "and says it is unsigned" grep -q 'unsigned' "$E2E_TMP/unsigned.txt"
check "the unsigned setup is the build's" cmp -s "$unsigned_setup" "$E2E_TMP/unsigned/$name-setup.exe"
check "the unsigned setup carries no signature" bash -c "! osslsigncode verify -in '$E2E_TMP/unsigned/$name-setup.exe' >/dev/null 2>&1"
check "its checksums hold" bash -c "cd '$E2E_TMP/unsigned' && sha256sum --quiet -c '$name.sha256'"
finish
