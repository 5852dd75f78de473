#pragma once
// Fetching a mailbox into a holder: each message becomes a new node (subject
// as its name, sender in its From field, body as its memo text), its
// attachments written into a folder first. A message is marked deleted on
// the server only after its node exists and its files are written, so a
// failure at any point never costs a message.

#include <string>
#include <string_view>
#include <vector>

#include "mail/Pop3Client.h"
#include "mail/ReceivedMail.h"
#include "platform/IoResult.h"

namespace zel {

class AgentAPLAbs;
class MemoHolder;
class MemoNode;

// Writes `bytes` as a new file in `folder`, named after `wanted` reduced to a
// plain file name; when that name is taken, base + "_" + k + "." + extension
// (base + "_" + k without a ".") for k = 1, 2, ... An existing file is never
// replaced, and the file appears whole or not at all. `stored` gets the name
// written.
IoResult storeAttachment(std::string_view folder, std::string_view wanted, std::string_view bytes,
                         std::string& stored);

// Writes the message's attachments into `folder` and notes each in the body
// (an empty line, then "File \"" + name + "\" extracted"). Stops at the first
// failure.
IoResult storeAttachments(ReceivedMessage& message, std::string_view folder);

// The node step: a new node of `holder` by its new-node rules, the body as
// its memo text; with a body, named after the subject (made unique; a
// subject beginning "*", which would make a template, gets "_" before it) and
// with From set to the quoted sender. Marks the holder changed.
MemoNode* putMessageIntoHolder(MemoHolder& holder, const ReceivedMessage& message);

struct ReceiveOptions {
    std::string attachmentFolder;
    // DELE each message once it is stored.
    bool deleteEach = false;
    // Asked before each message whether to stop; may be absent.
    AgentAPLAbs* agent = nullptr;
};

struct ReceiveReport {
    // The nodes made, in message order (message k made nodes[k-1]).
    std::vector<MemoNode*> nodes;
    // Empty when every message was stored; else why the loop stopped.
    std::string error;
    bool stoppedByBreak = false;
    bool ok() const { return error.empty(); }
};

// Fetches messages 1 to the client's message count into `holder`.
ReceiveReport receiveMailbox(Pop3Client& client, MemoHolder& holder, const ReceiveOptions& options);

}  // namespace zel
