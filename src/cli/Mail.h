#pragma once
// The mail verbs of zel-tool: mail-message prints what Send would transmit,
// send transmits a node as the send window does, and fetch receives a
// mailbox into a holder and saves it before anything is deleted.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kMailMessageVerb;
extern const ToolVerb kSendVerb;
extern const ToolVerb kFetchVerb;

}  // namespace zel
