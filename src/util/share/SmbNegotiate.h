#pragma once

#include <QByteArray>

// The SMB2 NEGOTIATE exchange, enough to learn before anything else is sent whether a server offers
// encryption: Samba's client library (4.17) says it fails a connection that cannot be encrypted and then
// carries on in clear text, so an account's delivery asks the server itself first.
namespace smbnegotiate {

// A NEGOTIATE request for SMB 2.0.2 to 3.1.1 that offers encryption (AES-128-GCM, AES-128-CCM), with the
// 4-byte header of SMB over TCP.
QByteArray makeRequest();

struct Answer
{
    bool valid = false;      // an SMB2 NEGOTIATE response with success
    quint16 dialect = 0;     // 0x0311 for SMB 3.1.1
    bool encryption = false; // the server will encrypt this session if asked
    bool signingRequired = false;
};

// The server's answer, the 4-byte header included; `valid` is false for anything else or a short answer.
Answer parseResponse(const QByteArray &bytes);

// How many bytes the answer whose first four bytes are given has in all, header included; 0 when they do
// not begin an SMB message over TCP.
int expectedLength(const QByteArray &firstFour);

} // namespace smbnegotiate
