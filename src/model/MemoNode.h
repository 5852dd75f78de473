#pragma once
// A memo node: one card of a holder. Besides the record it knows its kind
// (text, binary body, web address, linked file), its mark, its parent link and
// its own record writer and reader, which carry binary bodies as Base64.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/MemoBasic.h"
#include "model/NodeRef.h"

namespace zel {

class MemoNode : public MemoBasic {
  public:
    explicit MemoNode(TObjectNamed* owner = nullptr);
    ~MemoNode() override;

    const char* className() const override { return "MemoNode"; }
    // Also forgets that a linked body was loaded.
    int clear_() override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return clone_(); }
    void copyFrom_(const TObjectNamed& source) override;
    // Reads a `Record` element; the holder names the node.
    void readTag_(const TTAGNode& element) override;
    // A body read as Base64 lines (Content-Transfer-Encoding "base64") becomes
    // the binary content and leaves the memo empty.
    void decodeBase64Body_();

    // A new node with the same owner, not yet entered in the holder.
    virtual std::unique_ptr<MemoNode> clone_() const;
    // Makes this node a child of `parentNode` (which gets a UID when it has none).
    virtual void setParentNode_(MemoBasic& parentNode);

    bool isMarked_() const;
    void setMarked_(bool flag);
    // The raw Content-Type, "\"text\"" when absent.
    std::string getContentType_() const;
    void setContentType_(std::string_view type);
    // The raw Content-Transfer-Encoding, "\"8bit\"" when absent.
    std::string getEncoding_() const;

    // Node kinds, from the raw Content-Transfer-Encoding and FlagLink.
    bool isBinary_() const;
    bool isURL_() const;
    bool isLinked_() const;

    // The node's raw value of `key`; when empty the holder's, then the memo file's.
    std::string getFieldInherited_(std::string_view key) const;
    // Rewrites an absolute path in field `key` relative to `baseDirectory`
    // ("./img/a.jpg"); yields the new quoted value, or empty when unchanged.
    std::string makeRelative_(std::string_view key, std::string_view baseDirectory);
    // The first memo (else comment) line that begins with the bullet "●", trimmed.
    std::string getBulletLine_() const;
    // Reads a linked body from Filename (relative paths against the holder's
    // file); yields the load status + 1, so 1 is success.
    int loadLinkedBody_();
    // The node's record markup, as holders write it.
    void writeNodeRecord_(std::vector<std::string>& lines, std::string_view indent);

    // A linked body was read from its file since the node was read or made.
    bool loaded = false;

    // What weak references (`NodeRef`) to this node check against.
    const NodeRegistry::Ticket& registryTicket() const { return ticket_; }

  private:
    NodeRegistry::Ticket ticket_;
};

}  // namespace zel
