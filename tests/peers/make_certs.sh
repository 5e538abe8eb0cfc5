#!/bin/sh
# Generates the test PKI used by the TLS peers. Run once; the output is committed.
# `make_certs.sh chains` makes only the chain-test certificates, under the
# root that is already there.
set -eu
only=${1:-all}
here=$(cd "$(dirname "$0")" && pwd)
out="$here/certs"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# openssl 3.0's x509 -req has no fixed start date, so dates go through `openssl ca`.
mkdir -p "$tmp/new"
: > "$tmp/index.txt"
echo 1000 > "$tmp/serial"
cat > "$tmp/ca.cnf" <<CNF
[ ca ]
default_ca = testca
[ testca ]
dir = $tmp
database = \$dir/index.txt
serial = \$dir/serial
new_certs_dir = \$dir/new
certificate = $out/ca.pem
private_key = $out/ca.key
default_md = sha256
policy = anything
unique_subject = no
copy_extensions = none
email_in_dn = no
[ anything ]
commonName = supplied
[ req ]
distinguished_name = dn
prompt = no
[ dn ]
CN = Test Root CA
[ v3_ca ]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[ leaf_local ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = DNS:localhost, IP:127.0.0.1
[ leaf_other ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = DNS:other.example
[ v3_intermediate ]
basicConstraints = critical, CA:TRUE, pathlen:0
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[ self ]
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
subjectAltName = DNS:localhost, IP:127.0.0.1
CNF

key() { openssl genrsa -out "$out/$1.key" 2048 2>/dev/null; }

# ca_cert <name> <cn> <signing-cert> <signing-key> <ext-section>: a CA
# certificate, self-signed when it signs with its own key.
ca_cert() {
    key "$1"
    openssl req -new -key "$out/$1.key" -subj "/CN=$2" -out "$tmp/$1.csr"
    if [ "$3" = "$1" ]; then self=-selfsign; else self=; fi
    openssl ca -batch $self -config "$tmp/ca.cnf" -extensions "$5" -notext \
        -cert "$out/$3.pem" -keyfile "$out/$4.key" -in "$tmp/$1.csr" -out "$out/$1.pem" \
        -startdate 20250101000000Z -enddate 20550101000000Z 2>/dev/null
}

# leaf <name> <cn> <ext-section> <start> <end> [<ca>]
leaf() {
    key "$1"
    openssl req -new -key "$out/$1.key" -subj "/CN=$2" -out "$tmp/$1.csr"
    ca=${6:-ca}
    openssl ca -batch -config "$tmp/ca.cnf" -extensions "$3" -notext \
        -cert "$out/$ca.pem" -keyfile "$out/$ca.key" \
        -in "$tmp/$1.csr" -out "$out/$1.pem" -startdate "$4" -enddate "$5" 2>/dev/null
}

if [ "$only" = all ]; then
    ca_cert ca "Test Root CA" ca ca v3_ca
    openssl x509 -in "$out/ca.pem" -outform DER -out "$out/ca.der"
    leaf good localhost leaf_local 20250101000000Z 20550101000000Z
    leaf wrong_name other.example leaf_other 20250101000000Z 20550101000000Z
    leaf expired localhost leaf_local 20200101000000Z 20210101000000Z

    # Self-signed: signed by its own key, so no chain to the test root.
    key self_signed
    openssl req -new -key "$out/self_signed.key" -subj "/CN=localhost" -out "$tmp/self.csr"
    openssl ca -batch -selfsign -config "$tmp/ca.cnf" -extensions self -notext \
        -keyfile "$out/self_signed.key" -in "$tmp/self.csr" -out "$out/self_signed.pem" \
        -startdate 20250101000000Z -enddate 20550101000000Z 2>/dev/null
fi

# A root that nobody trusts, and a leaf of it that its server sends alone.
ca_cert untrusted_ca "Untrusted Root CA" untrusted_ca untrusted_ca v3_ca
leaf untrusted_leaf localhost leaf_local 20250101000000Z 20550101000000Z untrusted_ca
# An intermediate under the test root; its server leaves it out of the chain.
ca_cert intermediate "Test Intermediate CA" ca ca v3_intermediate
leaf via_intermediate localhost leaf_local 20250101000000Z 20550101000000Z intermediate
cat "$out/via_intermediate.pem" "$out/intermediate.pem" > "$out/via_intermediate_chain.pem"

chmod 644 "$out"/*
echo "certificates written to $out"
