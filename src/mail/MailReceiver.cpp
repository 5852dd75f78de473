#include "mail/MailReceiver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "object/Agents.h"
#include "platform/ExternalNames.h"
#include "platform/OsPath.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kMostNameTries = 9999;

std::string folderWithSlash(std::string_view folder) {
    std::string f(folder.empty() ? "." : folder);
    if (f.back() != '/') f += '/';
    return f;
}

IoResult writeAll(int fd, std::string_view bytes, const std::string& what) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errnoFailure("Cannot write", what, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return IoResult::success();
}

}  // namespace

IoResult storeAttachment(std::string_view folder, std::string_view wanted, std::string_view bytes,
                         std::string& stored) {
    const std::string dir = folderWithSlash(folder);
    const std::string name = plainFileName(wanted, "text.tmp");
    // The bytes go to a hidden file of our own first; linking it under the
    // final name fails when that name exists, so nothing is ever replaced,
    // and the final name shows only complete files.
    std::string pattern = toOsPath(dir) + ".zel-attachment-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) return errnoFailure("Cannot write into", dir, errno);
    const std::string tempOs = pattern;
    IoResult written = writeAll(fd, bytes, dir + name);
    if (written && ::fsync(fd) != 0) written = errnoFailure("Cannot write", dir + name, errno);
    ::close(fd);
    if (!written) {
        ::unlink(tempOs.c_str());
        return written;
    }
    IoResult outcome = IoResult::failure("No free file name for " + name + " in " + dir);
    for (int k = 0; k <= kMostNameTries; ++k) {
        const std::string candidate = numberedFileName(name, k);
        if (::link(tempOs.c_str(), toOsPath(dir + candidate).c_str()) == 0) {
            stored = candidate;
            outcome = IoResult::success();
            break;
        }
        if (errno != EEXIST) {
            outcome = errnoFailure("Cannot write", dir + candidate, errno);
            break;
        }
    }
    ::unlink(tempOs.c_str());
    if (outcome) {
        int dirFd = ::open(toOsPath(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
    }
    return outcome;
}

IoResult storeAttachments(ReceivedMessage& message, std::string_view folder) {
    for (MailAttachment& attachment : message.attachments) {
        std::string bytes = attachmentBytes(attachment);
        attachment.lines = {};
        std::string stored;
        if (IoResult r = storeAttachment(folder, attachment.name, bytes, stored); !r) return r;
        message.body.emplace_back();
        message.body.push_back("File \"" + stored + "\" extracted");
    }
    return IoResult::success();
}

MemoNode* putMessageIntoHolder(MemoHolder& holder, const ReceivedMessage& message) {
    MemoNode* node = holder.makeNode_();
    node->memo = message.body;
    if (!message.body.empty()) {
        if (!message.subject.empty())
            node->putName_as_(message.subject[0] == '*' ? "_" + message.subject : message.subject);
        node->putField_("From", "\"" + message.sender + "\"");
    }
    holder.changed = true;
    return node;
}

ReceiveReport receiveMailbox(Pop3Client& client, MemoHolder& holder,
                             const ReceiveOptions& options) {
    ReceiveReport report;
    const int count = client.messageCount();
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n) {
        if (options.agent) {
            options.agent->message_("Recive " + std::to_string(n) + "/" + std::to_string(count));
            if (options.agent->isBreak_()) {
                report.stoppedByBreak = true;
                report.error =
                    "Break: Recive " + std::to_string(n - 1) + "/" + std::to_string(count);
                return report;
            }
        }
        if (MailResult r = client.retrieve(n, lines); !r.ok) {
            report.error = r.error;
            return report;
        }
        ReceivedMessage message = readReceivedMessage(std::move(lines));
        lines = {};
        if (IoResult r = storeAttachments(message, options.attachmentFolder); !r) {
            report.error = r.message;
            return report;
        }
        report.nodes.push_back(putMessageIntoHolder(holder, message));
        if (options.deleteEach) {
            if (MailResult r = client.remove(n); !r.ok) {
                report.error = r.error;
                return report;
            }
        }
    }
    return report;
}

}  // namespace zel
