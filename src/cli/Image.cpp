// image: the picture of an image node. Without a conversion it says what the
// body is and whether it reads; with --to-jpeg Q [--mono] or --to-bmp it
// writes the converted picture to OUT and names the Filename and node name
// the window's conversion would give. The memo file itself is not changed.

#include "cli/Image.h"

#include <algorithm>
#include <ostream>

#include "cli/Document.h"
#include "cli/Facts.h"
#include "export/HtmlOutput.h"
#include "formats/ImageConversion.h"
#include "formats/TContent.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/SafeFileWriter.h"
#include "text/DateTime.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

struct ImageCall {
    bool convert = false;
    ImageTarget target = ImageTarget::Bmp;
    JpegOptions options;
    std::vector<std::string> nodeWords;  // FILE [HOLDER] NODE
    std::string out;
};

int parseCall(const ToolOutput& io, const std::vector<std::string>& args, ImageCall& call) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--to-bmp", "--mono"}, {"--to-jpeg"}, split, error))
        return io.usageError(error);
    const bool jpeg = !split.value("--to-jpeg").empty();
    if (jpeg && split.has("--to-bmp")) return io.usageError("--to-jpeg or --to-bmp, not both");
    if (split.has("--mono") && !jpeg) return io.usageError("--mono goes with --to-jpeg");
    call.convert = jpeg || split.has("--to-bmp");
    if (jpeg) {
        const std::string quality = split.value("--to-jpeg");
        const std::optional<long long> value = readInteger(quality);
        if (!value || !isAllDigits(quality) || *value < 1 || *value > 100)
            return io.usageError("--to-jpeg wants a quality from 1 to 100, not " + quality);
        call.target = ImageTarget::Jpeg;
        call.options = {static_cast<int>(*value), split.has("--mono")};
    }
    // With a conversion the last word is where the picture goes.
    std::vector<std::string> words = split.words;
    if (call.convert) {
        if (words.size() < 3 || words.size() > 4)
            return io.usageError("wrong number of arguments for image");
        call.out = io.stored(words.back());
        words.pop_back();
    } else if (words.size() < 2 || words.size() > 3) {
        return io.usageError("wrong number of arguments for image");
    }
    call.nodeWords = std::move(words);
    return 0;
}

int showPicture(const ToolOutput& io, const MemoNode& node, const std::string& bytes) {
    const std::string type = node.getField_("Content-Type");
    const ImageFormat format = imageFormatOfType(type);
    const DecodedImage picture = format == ImageFormat::Unknown
                                     ? DecodedImage{{}, "not understand image format " + type}
                                     : decodeImage(bytes, format);
    if (io.json) {
        Json json = {{"node", jsonText(node.getName_())},
                     {"type", jsonText(type)},
                     {"format", imageFormatName(format)},
                     {"size", bytes.size()},
                     {"decodable", picture.ok()}};
        if (picture.ok()) {
            json["width"] = picture.bitmap.width;
            json["height"] = picture.bitmap.height;
            json["channels"] = picture.bitmap.channels;
        } else {
            json["error"] = jsonText(picture.error);
        }
        io.out << json.dump(2) << '\n';
    } else {
        io.out << "Type: " << io.shown(type) << '\n' << "Size: " << bytes.size() << " bytes\n";
        if (picture.ok())
            io.out << "Picture: " << imageFormatName(format) << ' ' << picture.bitmap.width << " x "
                   << picture.bitmap.height << ", " << picture.bitmap.channels
                   << (picture.bitmap.channels == 1 ? " channel\n" : " channels\n");
        else
            io.out << "Picture: not readable: " << io.shown(picture.error) << '\n';
    }
    return picture.ok() ? 0 : 1;
}

int convertPictureTo(const ToolOutput& io, const Document& document, const MemoNode& node,
                     const std::string& bytes, const ImageCall& call) {
    const ImageConversion converted =
        convertContent(bytes, node.getField_("Content-Type"), call.target, call.options);
    if (!converted.ok()) return io.fail(converted.error);
    // Never over the memo file or a holder file it reads.
    std::vector<std::string> kept = dataFilesOf(document.file);
    kept.push_back(document.path);
    if (std::find(kept.begin(), kept.end(), call.out) != kept.end())
        return io.fail("Not written over a file of the memo file: " + call.out);
    const IoResult written = writeFileSafely(call.out, converted.bytes);
    if (!written) return io.fail(written.message);
    const std::string oldFile = stripQuotes(node.getField_("Filename"));
    const std::string newFile = convertedFileName(oldFile, converted.extension,
                                                  formatDateTime("yyyymmddhhnnss", clockNow()));
    std::string name = convertedNodeName(node.getName_(), oldFile, newFile, converted.extension);
    if (name.empty()) name = node.getName_();
    if (io.json) {
        io.out << Json{{"out", jsonText(call.out)},
                       {"bytes", converted.bytes.size()},
                       {"contentType", converted.contentType},
                       {"filename", jsonText(newFile)},
                       {"name", jsonText(name)}}
                      .dump(2)
               << '\n';
    } else {
        io.out << "Written: " << io.shown(call.out) << " (" << converted.bytes.size() << " bytes)\n"
               << "Content-Type: \"" << converted.contentType << "\"\n"
               << "Filename: \"" << io.shown(newFile) << "\"\n"
               << "Name: " << io.shown(name) << '\n';
    }
    return 0;
}

int runImage(const ToolOutput& io, const std::vector<std::string>& args) {
    ImageCall call;
    if (int bad = parseCall(io, args, call)) return bad;
    VerbDocument held;
    Document& document = *held;
    MemoNode* node = nullptr;
    if (int failed = openNamedNode(io, call.nodeWords, document, node)) return failed;
    if (!node->isBinary_() || !node->content || !node->content->stream)
        return io.fail("The node " + node->getName_() + " holds no binary body");
    const std::string& bytes = *node->content->stream;
    return call.convert ? convertPictureTo(io, document, *node, bytes, call)
                        : showPicture(io, *node, bytes);
}

}  // namespace

const ToolVerb kImageVerb = {
    "image",
    "  image FILE [HOLDER] NODE  an image node's body: type, size, whether and how it\n"
    "                            reads; --to-jpeg Q [--mono] OUT or --to-bmp OUT write\n"
    "                            it converted to OUT, with the Filename and name the\n"
    "                            window's conversion would give (FILE is not changed)\n",
    true, runImage};

}  // namespace zel
