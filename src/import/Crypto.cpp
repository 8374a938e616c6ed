#include "import/Crypto.h"

#include <crypto++/aes.h>
#include <crypto++/algparam.h>
#include <crypto++/argnames.h>
#include <crypto++/modes.h>
#include <crypto++/osrng.h>

namespace {
CryptoPP::AlgorithmParameters cfb8Parameters(const CryptoPP::byte* iv)
{
    return CryptoPP::MakeParameters(CryptoPP::Name::FeedbackSize(), 1)(
        CryptoPP::Name::IV(), CryptoPP::ConstByteArrayParameter(iv, Crypto::BlockLength));
}

const CryptoPP::byte* bytes(const QByteArray& a)
{
    return reinterpret_cast<const CryptoPP::byte*>(a.constData());
}
} // namespace

QByteArray Crypto::decryptAES(const QByteArray& key, const QByteArray& data)
{
    if (key.size() < KeyLength || data.size() <= BlockLength)
        return QByteArray();

    CryptoPP::AutoSeededRandomPool pool(false, 32);
    CryptoPP::byte iv[BlockLength];
    pool.GenerateBlock(iv, sizeof iv);

    QByteArray out(data.size(), '\0');
    CryptoPP::CFB_Mode<CryptoPP::AES>::Decryption decryption;
    decryption.SetKey(bytes(key), KeyLength, cfb8Parameters(iv));
    decryption.ProcessData(reinterpret_cast<CryptoPP::byte*>(out.data()), bytes(data), data.size());
    return out.mid(BlockLength);
}

QByteArray Crypto::encryptAES(const QByteArray& key, const QByteArray& iv, const QByteArray& data)
{
    if (key.size() < KeyLength || iv.size() < BlockLength)
        return QByteArray();

    QByteArray out(data.size(), '\0');
    CryptoPP::CFB_Mode<CryptoPP::AES>::Encryption encryption;
    encryption.SetKey(bytes(key), KeyLength, cfb8Parameters(bytes(iv)));
    encryption.ProcessData(reinterpret_cast<CryptoPP::byte*>(out.data()), bytes(data), data.size());
    return out;
}
