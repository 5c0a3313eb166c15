#include "SmbNegotiate.h"

#include <QtEndian>

#include <array>

namespace smbnegotiate {

namespace {

constexpr int kHeaderSize = 64;
constexpr quint16 kDialects[] = {0x0202, 0x0210, 0x0300, 0x0302, 0x0311};
constexpr quint32 kCapabilityEncryption = 0x40;
constexpr quint16 kContextPreauth = 0x0001;
constexpr quint16 kContextEncryption = 0x0002;

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void padTo8(QByteArray &out, int base)
{
    while ((out.size() - base) % 8 != 0)
        out.append('\0');
}

QByteArray smb2Header()
{
    QByteArray header("\xFESMB", 4);
    put16(header, kHeaderSize); // structure size
    put16(header, 0);           // credit charge
    put32(header, 0);           // status
    put16(header, 0);           // command: NEGOTIATE
    put16(header, 1);           // credits asked
    header.append(kHeaderSize - header.size(), '\0');
    return header;
}

void appendContext(QByteArray &out, quint16 type, const QByteArray &data)
{
    padTo8(out, 0);
    put16(out, type);
    put16(out, quint16(data.size()));
    put32(out, 0);
    out.append(data);
}

quint16 get16(const QByteArray &bytes, qsizetype at)
{
    return at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at) : 0;
}

quint32 get32(const QByteArray &bytes, qsizetype at)
{
    return at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
}

// Whether a 3.1.1 answer's contexts name a cipher.
bool offersCipher(const QByteArray &smb, qsizetype body)
{
    const quint16 count = get16(smb, body + 6);
    qsizetype at = get32(smb, body + 60);
    for (quint16 i = 0; i < count && at > 0 && at + 8 <= smb.size(); ++i) {
        const quint16 type = get16(smb, at);
        const quint16 length = get16(smb, at + 2);
        if (type == kContextEncryption && length >= 4 && get16(smb, at + 8) >= 1)
            return get16(smb, at + 10) != 0;
        at += 8 + length;
        at += (8 - at % 8) % 8;
    }
    return false;
}

} // namespace

QByteArray makeRequest()
{
    QByteArray smb = smb2Header();
    put16(smb, 36);                            // structure size
    put16(smb, quint16(std::size(kDialects))); // dialect count
    put16(smb, 0x0001);                        // signing enabled
    put16(smb, 0);
    put32(smb, kCapabilityEncryption);
    smb.append(QByteArray("ovalith-probe-01", 16)); // client GUID
    const qsizetype contextOffsetAt = smb.size();
    put32(smb, 0); // negotiate context offset, filled in below
    put16(smb, 2); // negotiate context count
    put16(smb, 0);
    for (const quint16 dialect : kDialects)
        put16(smb, dialect);
    padTo8(smb, 0);
    qToLittleEndian(quint32(smb.size()), smb.data() + contextOffsetAt);
    QByteArray preauth;
    put16(preauth, 1);  // one hash algorithm
    put16(preauth, 32); // salt length
    put16(preauth, 0x0001);
    preauth.append(32, '\x5A');
    appendContext(smb, kContextPreauth, preauth);
    QByteArray ciphers;
    put16(ciphers, 2);
    put16(ciphers, 0x0002); // AES-128-GCM
    put16(ciphers, 0x0001); // AES-128-CCM
    appendContext(smb, kContextEncryption, ciphers);
    QByteArray message(4, '\0');
    qToBigEndian(quint32(smb.size()), message.data());
    return message + smb;
}

int expectedLength(const QByteArray &firstFour)
{
    if (firstFour.size() < 4 || firstFour.at(0) != '\0')
        return 0;
    return 4 + int(qFromBigEndian<quint32>(firstFour.constData()) & 0xFFFFFF);
}

Answer parseResponse(const QByteArray &bytes)
{
    Answer answer;
    const QByteArray smb = bytes.mid(4);
    if (bytes.size() < 4 || !smb.startsWith("\xFESMB") || smb.size() < kHeaderSize + 65 ||
        get32(smb, 8) != 0 || get16(smb, 12) != 0)
        return answer;
    const qsizetype body = kHeaderSize;
    answer.valid = get16(smb, body) == 65;
    answer.signingRequired = (get16(smb, body + 2) & 0x0002) != 0;
    answer.dialect = get16(smb, body + 4);
    const quint32 capabilities = get32(smb, body + 24);
    if (answer.dialect == 0x0311)
        answer.encryption = offersCipher(smb, body);
    else if (answer.dialect >= 0x0300)
        answer.encryption = (capabilities & kCapabilityEncryption) != 0;
    return answer;
}

} // namespace smbnegotiate
