#include "model/Container.h"

#include <cstring>
#include <optional>
#include <unordered_map>

#include "formats/Base64.h"
#include "formats/TContent.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Agents.h"
#include "platform/Compression.h"
#include "platform/ExternalNames.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileSet.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Break is asked at least this often while a large part streams by.
constexpr std::uint64_t kBytesPerBreakCheck = std::uint64_t{4} << 20;
// A header line unfolded past this is cut: no header field needs more.
constexpr std::size_t kLongestHeaderLine = std::size_t{1} << 20;

int failed(std::string* error, int code, std::string why) {
    if (error) *error = std::move(why);
    return code;
}

// Splits the inflated message into its parts as the bytes arrive, reading
// headers, delimiters and bodies as TContent::parse does for a message held
// whole: the top header names the boundary, each segment between two
// delimiter lines is a part (its own header, then its body, Base64 decoded or
// kept as lines with CR LF), and what follows the last delimiter is dropped.
class MessageSplitter {
  public:
    explicit MessageSplitter(const ContainerPartTaker& take) : take_(take) {}

    // False once the taker said stop. A line ends at CR LF, LF or CR; lone
    // CRs are rare, so lines are found by LF and checked for a CR inside.
    bool feed(std::string_view bytes) {
        const char* data = bytes.data();
        const std::size_t size = bytes.size();
        std::size_t start = 0;
        if (afterCr_ && size > 0 && data[0] == '\n') start = 1;  // a CR LF split in two
        afterCr_ = false;
        while (start < size && !stopped_) {
            const void* lf = std::memchr(data + start, '\n', size - start);
            const std::size_t end = lf ? static_cast<const char*>(lf) - data : size;
            const void* cr = std::memchr(data + start, '\r', end - start);
            if (cr) {
                const std::size_t at = static_cast<const char*>(cr) - data;
                endLine(bytes.substr(start, at - start));
                if (at + 1 == size) afterCr_ = true;
                start = at + 1 < size && data[at + 1] == '\n' ? at + 2 : at + 1;
                continue;
            }
            if (!lf) {
                pending_.append(bytes.substr(start));
                break;
            }
            endLine(bytes.substr(start, end - start));
            start = end + 1;
        }
        return !stopped_;
    }

    // The end of the message: a last line without line break counts.
    void finish() {
        if (!stopped_ && !pending_.empty()) endLine({});
    }

    bool stopped() const { return stopped_; }
    // As TContent decides: a later Content-Type may take back an earlier one.
    bool multipart() const {
        return top_.contentType.starts_with("multipart") && !top_.delimiter.empty();
    }
    std::size_t partsTaken() const { return partsTaken_; }

  private:
    enum class Stage { TopLead, TopHeader, Preamble, PartLead, PartHeader, PartBody };

    void endLine(std::string_view tail) {
        if (pending_.empty()) {
            line(tail);
        } else {
            pending_.append(tail);
            line(pending_);
            pending_.clear();
        }
    }

    // Header lines are unfolded one at a time: a line that begins with a
    // blank or a tab continues the one held.
    void headerLine(std::string_view text, MimeHeader& header) {
        if (!held_.empty() && (text.front() == ' ' || text.front() == '\t')) {
            if (held_.size() < kLongestHeaderLine) held_.append(text);
            return;
        }
        flushHeader(header);
        held_.assign(text.substr(0, kLongestHeaderLine));
    }

    void flushHeader(MimeHeader& header) {
        if (!held_.empty()) header.readLine(held_);
        held_.clear();
    }

    void openPart() {
        part_ = MimeHeader();
        body_ = ContainerPart();
        stage_ = Stage::PartLead;
    }

    void closePart() {
        if (stage_ == Stage::PartHeader) flushHeader(part_);
        body_.fileName = part_.fileName;
        ++partsTaken_;
        if (!take_(body_)) stopped_ = true;
    }

    void line(std::string_view text) {
        switch (stage_) {
            case Stage::TopLead:
                if (isMimeBlankLine(text)) return;
                stage_ = Stage::TopHeader;
                [[fallthrough]];
            case Stage::TopHeader:
                if (!isMimeBlankLine(text)) return headerLine(text, top_);
                flushHeader(top_);
                // Not a multipart message: a single body, which no container is.
                if (!multipart()) stopped_ = true;
                stage_ = Stage::Preamble;
                return;
            default:
                break;
        }
        if (isMimeDelimiterLine(text, top_.delimiter)) {
            if (stage_ != Stage::Preamble) closePart();
            openPart();
            return;
        }
        switch (stage_) {
            case Stage::PartLead:
                if (isMimeBlankLine(text)) return;
                stage_ = Stage::PartHeader;
                [[fallthrough]];
            case Stage::PartHeader:
                if (!isMimeBlankLine(text)) return headerLine(text, part_);
                flushHeader(part_);
                stage_ = Stage::PartBody;
                return;
            case Stage::PartBody:
                // A nested multipart has no body of its own.
                if (part_.contentType.starts_with("multipart")) return;
                if (part_.transferEncoding == "base64") {
                    decodeBase64Line(text, body_.bytes);
                } else {
                    body_.bytes += text;
                    body_.bytes += "\r\n";
                }
                return;
            default:
                return;  // the preamble belongs to no part
        }
    }

    const ContainerPartTaker& take_;
    Stage stage_ = Stage::TopLead;
    MimeHeader top_;
    MimeHeader part_;
    ContainerPart body_;
    std::string held_;
    std::string pending_;
    bool afterCr_ = false;
    bool stopped_ = false;
    std::size_t partsTaken_ = 0;
};

// Feeds inflated bytes to a splitter, asking Break now and then.
class ContainerStream {
  public:
    ContainerStream(const ContainerPartTaker& take, AgentAPLAbs* agent)
        : agent_(agent),
          guarded_([this, &take](ContainerPart& part) {
              if (!take(part)) return false;
              return !askBreak();
          }),
          splitter_(guarded_) {}

    Inflater::Sink sink() {
        return [this](std::string_view piece) {
            sinceCheck_ += piece.size();
            if (sinceCheck_ >= kBytesPerBreakCheck) {
                sinceCheck_ = 0;
                if (askBreak()) return false;
            }
            return splitter_.feed(piece);
        };
    }

    // The result of the whole read, given how inflating ended.
    int result(const IoResult& inflated, std::string_view origin, std::string* error) {
        // The last part closes only at the end of the message, and the taker
        // may refuse it there as well as anywhere before.
        if (!broke_ && !splitter_.stopped()) {
            if (!inflated) return failed(error, -1, inflated.message);
            splitter_.finish();
        }
        if (broke_ || splitter_.stopped()) {
            if (broke_)
                return failed(error, -3, "Break: reading " + std::string(origin) + " stopped");
            if (!splitter_.multipart())
                return failed(error, -1,
                              "Not a memo file container (no MIME parts): " + std::string(origin));
            return -3;  // the taker stopped and says why itself
        }
        if (!splitter_.multipart() || splitter_.partsTaken() == 0)
            return failed(error, -1,
                          "Not a memo file container (no MIME parts): " + std::string(origin));
        return 0;
    }

  private:
    bool askBreak() {
        if (agent_ && agent_->isBreak_()) broke_ = true;
        return broke_;
    }

    AgentAPLAbs* agent_;
    ContainerPartTaker guarded_;
    MessageSplitter splitter_;
    std::uint64_t sinceCheck_ = 0;
    bool broke_ = false;
};

// Which holder a part after the index carries: the holder whose file has the
// part's plain name, else the holder at the part's place (holders are
// written in tab order after the index); each holder at most once.
class HolderMatcher {
  public:
    explicit HolderMatcher(const MemoFile& file) : file_(file) {
        const int count = file.countOfHolders_();
        taken_.assign(static_cast<std::size_t>(count), false);
        for (int i = 0; i < count; ++i)
            byFile_.emplace(lowerText(plainFileName(holderFilePath_(*file.holderAt_(i)))), i);
    }

    // `place` counts the holder parts from 0.
    MemoHolder* match(const ContainerPart& part, std::size_t place) {
        int chosen = -1;
        if (!part.fileName.empty()) {
            auto found = byFile_.find(lowerText(plainFileName(part.fileName)));
            if (found != byFile_.end() && !taken_[found->second]) chosen = found->second;
        }
        if (chosen < 0 && place < taken_.size() && !taken_[place]) chosen = static_cast<int>(place);
        if (chosen < 0) return nullptr;
        taken_[chosen] = true;
        return file_.holderAt_(chosen);
    }

  private:
    const MemoFile& file_;
    std::unordered_map<std::string, int> byFile_;
    std::vector<bool> taken_;
};

// Reads the index part into `file`, named after its place beside the container.
int readIndexPart(MemoFile& file, const ContainerPart& index, std::string_view path,
                  std::string* error) {
    if (index.fileName.empty())
        return failed(error, -1,
                      "The container's first part is not an index: " + std::string(path));
    file.clear_();
    std::vector<std::string> errors;
    const int found = readIndexText_(file, index.bytes, errors);
    if (!errors.empty()) logLine("Markup error in the index of " + std::string(path));
    for (const auto& line : errors) logLine(line);
    if (found != 0)
        return failed(error, -1, "No <File> element in the index of " + std::string(path));
    file.setFilename(containerPartTarget_(path, index.fileName));
    return 0;
}

void release(std::string& bytes) {
    bytes.clear();
    bytes.shrink_to_fit();
}

bool isHolderFileName(std::string_view path) {
    const std::string extension = lowerText(extensionOf(path));
    return extension == ".mxh" || extension == ".mhz";
}

}  // namespace

int readContainerParts_(std::string_view path, const ContainerPartTaker& take, std::string* error,
                        AgentAPLAbs* agent) {
    ContainerStream stream(take, agent);
    return stream.result(inflateFile(path, stream.sink()), path, error);
}

int readContainerBytes_(std::string_view compressed, std::string_view origin,
                        const ContainerPartTaker& take, std::string* error, AgentAPLAbs* agent) {
    ContainerStream stream(take, agent);
    Inflater inflater(stream.sink());
    IoResult inflated = inflater.feed(compressed);
    if (inflated) inflated = inflater.finish();
    return stream.result(inflated, origin, error);
}

int readContainer_(std::string_view path, std::vector<ContainerPart>& parts, std::string* error) {
    parts.clear();
    int read = readContainerParts_(
        path, [&parts](ContainerPart& part) { return parts.push_back(std::move(part)), true; },
        error);
    return read == 0 ? 0 : -1;
}

std::string containerPartTarget_(std::string_view containerPath, std::string_view partFileName) {
    std::string_view folder = folderOf(containerPath);
    return folder.empty() ? plainFileName(partFileName) : joinInsideFolder(folder, partFileName);
}

int unpackContainer_(std::string_view path, const ReplaceQuestion& mayReplace,
                     std::string* indexPath, std::string* error, AgentAPLAbs* agent) {
    if (indexPath) indexPath->clear();
    // The index is read as the window will read it, to know each holder's file.
    MemoFile scratch;
    std::optional<HolderMatcher> matcher;
    SafeFileSet set;
    std::string indexTarget, failure;
    std::unordered_map<std::string, bool> targets;  // folded paths already given a part
    targets.emplace(lowerText(std::string(path)), true);
    std::size_t place = 0;
    int written = 0;
    auto write = [&](const std::string& target, std::string& bytes) {
        if (!targets.emplace(lowerText(target), true).second) {
            logLine("Not unpacked, another part has this file: " + target);
            return true;
        }
        if (pathExists(target) && mayReplace && !mayReplace(target)) return true;
        set.add(target).append(bytes);
        release(bytes);
        ++written;
        if (IoResult status = set.status(); !status) {
            failure = status.message;
            return false;
        }
        return true;
    };
    auto take = [&](ContainerPart& part) {
        if (!matcher) {
            if (readIndexPart(scratch, part, path, &failure) != 0) return false;
            indexTarget = containerPartTarget_(path, part.fileName);
            if (targets.count(lowerText(indexTarget))) {
                failure = "The index part of " + std::string(path) + " would replace the container";
                return false;
            }
            matcher.emplace(scratch);
            return write(indexTarget, part.bytes);
        }
        MemoHolder* holder = matcher->match(part, place++);
        const std::string target = holder ? holderFilePath_(*holder) : std::string();
        if (!holder || !isHolderFileName(target)) {
            logLine("Not unpacked, no holder of the index reads it: " + part.fileName);
            return true;
        }
        return write(target, part.bytes);
    };
    const int read = readContainerParts_(path, take, error, agent);
    if (read != 0) {
        if (read == -3 && !failure.empty() && error) *error = failure;
        return -1;
    }
    if (IoResult committed = set.commit(); !committed) return failed(error, -1, committed.message);
    if (indexPath && fileExists(indexTarget)) *indexPath = indexTarget;
    return written;
}

namespace {

// Reads the parts `read` hands over into `file`: the index first, then each
// holder from the part that carries it.
int loadParts(MemoFile& file, std::string_view path, std::string* error, AgentAPLAbs* agent,
              const std::function<int(const ContainerPartTaker&)>& read) {
    std::optional<HolderMatcher> matcher;
    std::string failure;
    std::size_t place = 0;
    auto take = [&](ContainerPart& part) {
        if (!matcher) {
            if (readIndexPart(file, part, path, &failure) != 0) return false;
            matcher.emplace(file);
            return true;
        }
        MemoHolder* holder = matcher->match(part, place++);
        if (!holder) {
            logLine("No holder of the index reads the part " + part.fileName);
            return true;
        }
        std::string why;
        const int parsed = readHolderBytes_(*holder, part.bytes, part.fileName, &why, agent);
        release(part.bytes);
        if (parsed == 0) holder->loaded = true;
        if (parsed == -3) {
            failure = why;
            return false;
        }
        return true;
    };
    const int result = read(take);
    if (result != 0 && !failure.empty())
        return failed(error, failure.rfind("Break", 0) == 0 ? -3 : -1, failure);
    if (result != 0) return result;
    file.changed = false;
    return 0;
}

}  // namespace

int loadContainer_(MemoFile& file, std::string_view path, std::string* error, AgentAPLAbs* agent) {
    // Stamped first: a container replaced while it is read is then taken for
    // changed, never for the version read.
    FileStamp stamp;
    const bool stamped = stampFile(path, stamp);
    const int loaded = loadParts(file, path, error, agent, [&](const ContainerPartTaker& take) {
        return readContainerParts_(path, take, error, agent);
    });
    if (loaded == 0 && stamped) file.containerOnDisk = {std::string(path), stamp};
    return loaded;
}

int loadContainerBytes_(MemoFile& file, std::string_view compressed, std::string_view path,
                        std::string* error, AgentAPLAbs* agent) {
    return loadParts(file, path, error, agent, [&](const ContainerPartTaker& take) {
        return readContainerBytes_(compressed, path, take, error, agent);
    });
}

}  // namespace zel
