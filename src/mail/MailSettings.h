#pragma once
// The mail settings the send and receive windows show and store: fields of
// the node, its holder or the memo file, read with their quotes stripped.
// Besides the classic fields, optional ones choose a port, TLS and a login;
// absent, the exchange is the classic one. Passwords are never fields.

#include <string>
#include <vector>

#include "mail/MailMessage.h"
#include "mail/Pop3Client.h"
#include "mail/SmtpClient.h"

namespace zel {

class MemoBasic;
class MemoFile;
class MemoHolder;
class MemoNode;

// The boxes of the send window, as Shift_JIS texts.
struct SendSettings {
    std::string smtpServer;
    std::string subject;
    std::string to;
    std::string cc;
    std::string bcc;
    std::string from;
    std::string replyTo;
    std::string userID;
    std::string dateTimeSended;
    // Beyond the classic window: fields SMTPPort, SMTPSecurity, SMTPLogin.
    std::string smtpPort;
    std::string smtpSecurity;
    std::string smtpLogin;
};

// The boxes filled from `node`: the settings inherited (node, holder, memo
// file); the subject from the node's own field, else the holder's, else the
// memo file's, else the node's name; DateTimeSended from the node only.
SendSettings sendSettingsOf(const MemoNode& node);
// Set Node: each setting trimmed, stored quoted or removed when empty; a
// non-empty subject renames the node (made unique). The memo text is the
// caller's.
void storeSendSettingsInNode(MemoNode& node, const SendSettings& settings);
// Set Holder: the same for the settings a holder keeps (no subject, no
// DateTimeSended).
void storeSendSettingsInHolder(MemoHolder& holder, const SendSettings& settings);
// The mail the settings and `body` make (recipient boxes split into entries).
OutgoingMail outgoingMailOf(const SendSettings& settings, const std::vector<std::string>& body);
// False with `error` set when the security is not one we know.
bool smtpRequestOf(const SendSettings& settings, SmtpConnectRequest& request, std::string& error);

// The boxes of the receive window.
struct ReceiveSettings {
    std::string pop3Server;
    std::string userID;
    bool deleteOnRead = false;
    // Beyond the classic window: fields POP3Port and POP3Security.
    std::string pop3Port;
    std::string pop3Security;
};

// POP3Server, UserID and the extras from the holder, else the memo file;
// DeleteOnRead from the node (when there is one), else the holder, else the
// memo file, on exactly when the raw value is "\"true\"". Any may be absent.
ReceiveSettings receiveSettingsOf(const MemoHolder* holder, const MemoNode* node,
                                  const MemoFile* file);
// Set Holder and Set MemoFile: POP3Server and UserID stored quoted as they
// stand (an empty box stores "\"\""); the extras stored trimmed, or removed
// when empty.
void storeReceiveSettings(MemoBasic& record, const ReceiveSettings& settings);
bool pop3RequestOf(const ReceiveSettings& settings, const std::string& password,
                   Pop3ConnectRequest& request, std::string& error);

}  // namespace zel
