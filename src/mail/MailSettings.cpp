#include "mail/MailSettings.h"

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

const MemoHolder* holderOf(const MemoNode& node) {
    return dynamic_cast<const MemoHolder*>(node.enclosingRecord_());
}

// The first non-empty raw value of `key` among `records`, quotes stripped.
std::string firstOf(std::initializer_list<const MemoBasic*> records, std::string_view key) {
    for (const MemoBasic* record : records) {
        if (!record) continue;
        std::string value = record->getField_(key);
        if (!value.empty()) return stripQuotes(value);
    }
    return {};
}

void storeTrimmed(MemoBasic& record, std::string_view key, std::string_view text) {
    std::string value = trimText(text);
    if (value.empty())
        record.removeField_(key);
    else
        record.putField_(key, wrapQuotes(value));
}

struct SendField {
    const char* key;
    std::string SendSettings::*box;
};

// The settings both Set Node and Set Holder store, in their order.
constexpr SendField kServerField{"SMTPServer", &SendSettings::smtpServer};
constexpr SendField kAddressFields[] = {
    {"To", &SendSettings::to},           {"CC", &SendSettings::cc},
    {"BCC", &SendSettings::bcc},         {"From", &SendSettings::from},
    {"ReplyTo", &SendSettings::replyTo}, {"UserID", &SendSettings::userID},
};
constexpr SendField kExtraFields[] = {
    {"SMTPPort", &SendSettings::smtpPort},
    {"SMTPSecurity", &SendSettings::smtpSecurity},
    {"SMTPLogin", &SendSettings::smtpLogin},
};

}  // namespace

SendSettings sendSettingsOf(const MemoNode& node) {
    SendSettings s;
    auto inherited = [&node](std::string_view key) {
        return stripQuotes(node.getFieldInherited_(key));
    };
    s.smtpServer = inherited(kServerField.key);
    for (const SendField& field : kAddressFields) s.*field.box = inherited(field.key);
    for (const SendField& field : kExtraFields) s.*field.box = inherited(field.key);
    const MemoHolder* holder = holderOf(node);
    const MemoFile* file = holder ? holder->getMemoFile_() : nullptr;
    s.subject = firstOf({&node, holder, file}, "Subject");
    if (s.subject.empty()) s.subject = node.getName_();
    s.dateTimeSended = stripQuotes(node.getField_("DateTimeSended"));
    return s;
}

void storeSendSettingsInNode(MemoNode& node, const SendSettings& s) {
    storeTrimmed(node, kServerField.key, s.*kServerField.box);
    std::string subject = trimText(s.subject);
    if (!subject.empty()) node.putName_as_(subject);
    for (const SendField& field : kAddressFields) storeTrimmed(node, field.key, s.*field.box);
    storeTrimmed(node, "DateTimeSended", s.dateTimeSended);
    for (const SendField& field : kExtraFields) storeTrimmed(node, field.key, s.*field.box);
}

void storeSendSettingsInHolder(MemoHolder& holder, const SendSettings& s) {
    storeTrimmed(holder, kServerField.key, s.*kServerField.box);
    for (const SendField& field : kAddressFields) storeTrimmed(holder, field.key, s.*field.box);
    for (const SendField& field : kExtraFields) storeTrimmed(holder, field.key, s.*field.box);
}

OutgoingMail outgoingMailOf(const SendSettings& s, const std::vector<std::string>& body) {
    OutgoingMail mail;
    mail.from = s.from;
    mail.replyTo = s.replyTo;
    mail.subject = s.subject;
    mail.to = mailEntries(s.to);
    mail.cc = mailEntries(s.cc);
    mail.bcc = mailEntries(s.bcc);
    mail.body = body;
    return mail;
}

bool smtpRequestOf(const SendSettings& s, SmtpConnectRequest& request, std::string& error) {
    request.server = s.smtpServer;
    request.port = s.smtpPort;
    request.heloName = s.userID;
    request.login = trimText(s.smtpLogin);
    if (!parseSecurity(s.smtpSecurity, request.security)) {
        error = "Not a security setting: " + s.smtpSecurity + " (none, STARTTLS or TLS)";
        return false;
    }
    return true;
}

ReceiveSettings receiveSettingsOf(const MemoHolder* holder, const MemoNode* node,
                                  const MemoFile* file) {
    ReceiveSettings s;
    s.pop3Server = firstOf({holder, file}, "POP3Server");
    s.userID = firstOf({holder, file}, "UserID");
    s.pop3Port = firstOf({holder, file}, "POP3Port");
    s.pop3Security = firstOf({holder, file}, "POP3Security");
    std::string flag;
    for (const MemoBasic* record :
         {static_cast<const MemoBasic*>(node), static_cast<const MemoBasic*>(holder),
          static_cast<const MemoBasic*>(file)}) {
        if (record && !(flag = record->getField_("DeleteOnRead")).empty()) break;
    }
    s.deleteOnRead = flag == "\"true\"";
    return s;
}

void storeReceiveSettings(MemoBasic& record, const ReceiveSettings& s) {
    record.putField_("POP3Server", "\"" + s.pop3Server + "\"");
    record.putField_("UserID", "\"" + s.userID + "\"");
    storeTrimmed(record, "POP3Port", s.pop3Port);
    storeTrimmed(record, "POP3Security", s.pop3Security);
}

bool pop3RequestOf(const ReceiveSettings& s, const std::string& password,
                   Pop3ConnectRequest& request, std::string& error) {
    request.server = s.pop3Server;
    request.port = s.pop3Port;
    request.user = s.userID;
    request.password = password;
    if (!parseSecurity(s.pop3Security, request.security)) {
        error = "Not a security setting: " + s.pop3Security + " (none, STLS or TLS)";
        return false;
    }
    return true;
}

}  // namespace zel
