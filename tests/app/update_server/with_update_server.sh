#!/usr/bin/env bash
# Runs a test program with the update check's loopback web server: makes a test-only
# certificate authority and a certificate for "localhost" signed by it, another pair
# nobody trusts, a recorder that stands in for the web browser, starts the server, runs
# "$@" and ends the server. The test learns everything through ORVANE_TEST_* variables.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The certificates name where their authority's revocation list is: the system checks it
# before it trusts a server. The plain port is chosen before the server takes it.
plain=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

make_pair() {  # name: an authority, a localhost certificate it signed, its revocation list
  local n=$1
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvane test authority $n" \
    -keyout "$work/$n-ca.key" -out "$work/$n-ca.pem" >>"$work/openssl.log" 2>&1 || return 1
  openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$work/$n.key" \
    -out "$work/$n.csr" >>"$work/openssl.log" 2>&1 || return 1
  printf 'subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' \
    >"$work/$n.ext"
  printf 'crlDistributionPoints=URI:http://localhost:%s/%s.crl\n' "$plain" "$n" >>"$work/$n.ext"
  : >"$work/$n-index.txt"
  echo 01 >"$work/$n-crlnumber"
  printf '[ca]\ndefault_ca=d\n[d]\ndatabase=%s\ncrlnumber=%s\ndefault_md=sha256\ndefault_crl_days=2\n' \
    "$work/$n-index.txt" "$work/$n-crlnumber" >"$work/$n-ca.cnf"
  openssl x509 -req -in "$work/$n.csr" -CA "$work/$n-ca.pem" -CAkey "$work/$n-ca.key" \
    -CAcreateserial -days 2 -extfile "$work/$n.ext" -out "$work/$n.pem" >>"$work/openssl.log" 2>&1 || return 1
  openssl ca -config "$work/$n-ca.cnf" -gencrl -keyfile "$work/$n-ca.key" -cert "$work/$n-ca.pem" \
    -out "$work/$n-crl.pem" >>"$work/openssl.log" 2>&1 || return 1
  openssl crl -in "$work/$n-crl.pem" -outform DER -out "$work/$n.crl" || return 1
}
make_pair trusted && make_pair untrusted ||
  { echo "cannot make the test certificates:" >&2; cat "$work/openssl.log" >&2; exit 1; }
openssl x509 -in "$work/trusted-ca.pem" -outform DER -out "$work/trusted-ca.der" || exit 1

python3 "$here/update_server.py" "$work/ports" "$work/trusted.pem" "$work/trusted.key" \
  "$work/untrusted.pem" "$work/untrusted.key" "$plain" "$work" &
server=$!
for _ in $(seq 100); do
  [ -s "$work/ports" ] && break
  kill -0 "$server" 2>/dev/null || { echo "the test server did not start" >&2; exit 1; }
  sleep 0.1
done
read -r trusted untrusted plain <"$work/ports" || { echo "no server ports" >&2; exit 1; }

# What the browser would open, one address a line.
mkdir -p "$work/opened"
cat >"$work/browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened/pages.txt"
SCRIPT
chmod +x "$work/browser"

# A proxy variable breaks even requests with the system's own settings.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=localhost,127.0.0.1
export ORVANE_TEST_HTTPS_PORT=$trusted ORVANE_TEST_UNTRUSTED_PORT=$untrusted \
  ORVANE_TEST_PLAIN_PORT=$plain ORVANE_TEST_CA="Z:${work//\//\\}\\trusted-ca.der" \
  ORVANE_TEST_BROWSER="$work/browser" ORVANE_TEST_OPENED="Z:${work//\//\\}\\opened"
"$@"
rc=$?
[ "$rc" -eq 0 ] || echo "the update check tests ended with exit code $rc" >&2
exit "$rc"
