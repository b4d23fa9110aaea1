#!/usr/bin/env bash
# Makes the certificates the HTTPS tests use, in the folder of this script:
#   ca.pem, ca-key.pem          the test CA (its key is kept so the leaf
#                               certificates can be issued again)
#   server.pem, server-key.pem  signed by the test CA for DNS:localhost and
#                               IP:127.0.0.1
#   wrong-host.pem, wrong-host-key.pem
#                               signed by the test CA for DNS:wrong.example only
#   other-ca.pem                a second CA that signed nothing the server uses
#
# The CAs are made only when missing (pass --new-ca to make them anew); the
# leaf certificates are issued again on every run. Everything is valid for a
# hundred years, so the tests do not run into an expiry date.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

command -v openssl >/dev/null || { echo "make-certs.sh needs openssl" >&2; exit 1; }

days=36500
new_ca=0
case "${1:-}" in
  "") ;;
  --new-ca) new_ca=1 ;;
  *) echo "usage: make-certs.sh [--new-ca]" >&2; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_ca() { # make_ca CERT KEY COMMON-NAME
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days "$days" \
    -keyout "$2" -out "$1" -subj "/O=Lexorvia tests/CN=$3" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -addext "subjectKeyIdentifier=hash" 2>/dev/null
}

issue() { # issue NAME COMMON-NAME SUBJECT-ALT-NAMES
  local name=$1 cn=$2 san=$3
  openssl req -new -newkey rsa:2048 -nodes -sha256 \
    -keyout "$name-key.pem" -out "$work/$name.csr" -subj "/O=Lexorvia tests/CN=$cn" 2>/dev/null
  cat >"$work/$name.ext" <<EOF
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=$san
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EOF
  openssl x509 -req -sha256 -days "$days" -in "$work/$name.csr" \
    -CA ca.pem -CAkey ca-key.pem -set_serial "0x$(openssl rand -hex 16)" \
    -extfile "$work/$name.ext" -out "$name.pem" 2>/dev/null
}

if [[ $new_ca == 1 || ! -f ca.pem || ! -f ca-key.pem ]]; then
  make_ca ca.pem ca-key.pem "Lexorvia Test CA"
fi
if [[ $new_ca == 1 || ! -f other-ca.pem ]]; then
  # The other CA's key is of no use to anyone: nothing is ever signed with it.
  make_ca other-ca.pem "$work/other-ca-key.pem" "Lexorvia Unrelated CA"
fi

issue server localhost "DNS:localhost,IP:127.0.0.1"
issue wrong-host wrong.example "DNS:wrong.example"

openssl verify -CAfile ca.pem server.pem wrong-host.pem >/dev/null
if openssl verify -CAfile other-ca.pem server.pem >/dev/null 2>&1; then
  echo "other-ca.pem must not verify server.pem" >&2
  exit 1
fi
chmod 644 ./*.pem
echo "certificates written to $(pwd)"
