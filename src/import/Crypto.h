#pragma once

#include <QByteArray>

// AES-256 in CFB mode with 8-bit feedback, the cipher of package files.
class Crypto
{
public:
    Crypto() = delete;

    // Number of key bytes AES-256 takes; further key bytes are ignored.
    static constexpr int KeyLength = 32;
    static constexpr int BlockLength = 16;

    // Decrypts data under a random initialisation vector and drops the first 16 output
    // bytes. With 8-bit feedback every later byte depends only on the 16 ciphertext bytes
    // before it, so the file's 16-byte prefix acts as the real initialisation vector.
    // Returns an empty array when data has 16 bytes or fewer, or when key is shorter
    // than 32 bytes (a short key is never read past its end).
    static QByteArray decryptAES(const QByteArray& key, const QByteArray& data);

    // The producer's side: encrypts data under the given 16-byte initialisation vector.
    // Returns an empty array when key or iv is too short.
    static QByteArray encryptAES(const QByteArray& key, const QByteArray& iv, const QByteArray& data);
};
