#pragma once

#include <QString>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

// Every libcrypto function the program calls, with OpenSSL's own prototype.
#define Q3DART_CRYPTO_FUNCTIONS(X)                                                                                     \
    X(EVP_MD_CTX_new)                                                                                                  \
    X(EVP_MD_CTX_free)                                                                                                 \
    X(EVP_DigestInit_ex)                                                                                               \
    X(EVP_DigestUpdate)                                                                                                \
    X(EVP_DigestFinal_ex)                                                                                              \
    X(EVP_MD_get_size)                                                                                                 \
    X(EVP_md5)                                                                                                         \
    X(EVP_sha1)                                                                                                        \
    X(EVP_sha256)                                                                                                      \
    X(EVP_sha512)                                                                                                      \
    X(EVP_PKEY_new_raw_public_key)                                                                                     \
    X(EVP_PKEY_get_raw_public_key)                                                                                     \
    X(EVP_PKEY_get_id)                                                                                                 \
    X(EVP_PKEY_free)                                                                                                   \
    X(EVP_PKEY_CTX_new_id)                                                                                             \
    X(EVP_PKEY_CTX_free)                                                                                               \
    X(EVP_PKEY_keygen_init)                                                                                            \
    X(EVP_PKEY_keygen)                                                                                                 \
    X(EVP_DigestVerifyInit)                                                                                            \
    X(EVP_DigestVerify)                                                                                                \
    X(EVP_DigestSignInit)                                                                                              \
    X(EVP_DigestSign)                                                                                                  \
    X(BIO_new)                                                                                                         \
    X(BIO_new_mem_buf)                                                                                                 \
    X(BIO_s_mem)                                                                                                       \
    X(BIO_ctrl)                                                                                                        \
    X(BIO_free)                                                                                                        \
    X(PEM_read_bio_PrivateKey)                                                                                         \
    X(PEM_write_bio_PrivateKey)

// libcrypto, loaded when a digest or a signature is first needed rather than
// with the program: its 4 MB and their relocations cost every start of the
// application before its first screen, which needs neither. The headers are
// only used for the prototypes. Once loaded it stays for the life of the
// process; a load that failed is tried again by the next call.
class CryptoLibrary {
public:
    static constexpr const char* kFileName = "libcrypto.so.3";
    // Names the file to load instead of kFileName.
    static constexpr const char* kPathVariable = "Q3DART_CRYPTO_LIBRARY";

    // The library with all its functions; nullptr, with error() saying why
    // (and a warning saying so, localised, on the first failure) when it
    // cannot be loaded: then no digest is computed and no signature holds.
    static const CryptoLibrary* load();
    // Why the last load failed: the loader's own text, in English.
    static QString error();

#define Q3DART_CRYPTO_POINTER(name) decltype(&::name) name = nullptr;
    Q3DART_CRYPTO_FUNCTIONS(Q3DART_CRYPTO_POINTER)
#undef Q3DART_CRYPTO_POINTER

private:
    CryptoLibrary() = default;
};
