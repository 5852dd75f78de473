// The new-node primitive and the version report.

#include <QDate>

#include "app/window/TFormMainBase0007.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Names read from the environment are cut to what the report has room for.
constexpr std::size_t kLongestReportedName = 128;

std::string twoDigitCount(int count) {
    return (count < 10 ? "_0" : "_") + std::to_string(count);
}

std::size_t memoTextLength(const std::vector<std::string>& lines) {
    std::size_t length = 0;
    for (const std::string& line : lines) length += line.size() + 2;
    return length;
}

// The node loads the file named by `text` (relative to the holder's file when
// it begins with ".") and takes the text as its name.
bool loadFileNode(MemoHolder& holder, MemoNode& node, const std::string& text) {
    const bool relative = text.starts_with('.');
    const std::string path =
        relative ? std::string(folderOf(holderFilePath_(holder))) + text : text;
    if (node.setFile_(path, relative ? text : std::string()) < 0) {
        // A node named after a file it does not hold would pass for that
        // file: it goes again, and the holder stays as it was.
        MemoNode* current = holder.getCurrent_();
        holder.removeNode_(&node);
        holder.setCurrent_(current);
        return false;
    }
    node.putName_as_(text);
    return true;
}

}  // namespace

MemoNode* TFormMainBase0007::newNodeOfKind_(std::string_view text, int kind) {
    MemoHolder* holder = getCurHolder();
    if (!holder || refuse(UIReadOnly | HolderReadOnly)) return nullptr;
    const std::string given = trimText(text);
    UI2Model();
    MemoNode* node = holder->makeNode_();
    switch (kind) {
        case KindFile:
            if (!given.empty() && !loadFileNode(*holder, *node, given)) return nullptr;
            break;
        case KindImage:
            fillImageNode(*holder, *node, given);
            break;
        case KindURL: {
            std::string address = given.empty() ? LabeledEdit_CmURL : given;
            node->putField_("Content-Transfer-Encoding", "\"URL\"");
            node->putField_("Filename", wrapQuotes(address));
            node->putName_as_(address);
            break;
        }
        case KindPoser:
            node->putField_("Content-Transfer-Encoding", "\"Poser\"");
            break;
        case KindPoserLike:
            node->putField_("Content-Transfer-Encoding", "\"PoserLike\"");
            break;
        default:
            break;
    }
    if (node->fields.indexOf("Creater") >= 0) node->putField_("Creater", wrapQuotes(userName));
    setCurMemoNode_(node);
    holder->changed = true;
    return node;
}

void TFormMainBase0007::fillImageNode(MemoHolder& holder, MemoNode& node, std::string_view text) {
    const std::string defaultImage = exeDirectory() + "DefaultImage.jpg";
    if (MemoNode* model = holder.byName_("*DefaultImage")) {
        node.copyFrom_(*model);
    } else if (fileExists(defaultImage)) {
        node.setFile_(defaultImage, "");
    } else {
        // An image node without a picture would not be an image node at all.
        node.setBlankImage_();
    }
    std::string name(text);
    if (name.empty()) name = node.getName_();
    if (name.empty()) {
        name =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
    }
    const std::string today =
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    if (name == today) name = today + twoDigitCount(holder.count_() - 1);
    node.putName_as_(name + ".bmp");
    node.putField_("Filename", "\"./" + node.getName_() + "\"");
}

void TFormMainBase0007::writeVersionTS_(std::vector<std::string>& lines) {
    lines.push_back(exePath);
    lines.push_back("Version " + LabeledEdit_Version);
    lines.push_back("Prototype " + LabeledEdit_ReleaseDate);
    if (!userName.empty()) lines.push_back("UserName=" + userName.substr(0, kLongestReportedName));
    std::string computer = computerName();
    if (!computer.empty()) {
        lines.push_back("ComputerName=" + computer.substr(0, kLongestReportedName));
    }
    lines.push_back("File Directory is " + aFile->getMemoFileDir_());
    lines.push_back("The count of Holders is " + std::to_string(aFile->countOfHolders_()));
    MemoHolder* holder = getCurHolder();
    lines.push_back("The count of MemoNodes is " + std::to_string(holder ? holder->count_() : 0));
    if (MemoNode* node = getCurMemoNode()) {
        lines.push_back("aFields.count = " + std::to_string(node->fields.size()));
        lines.push_back("Length(aMemo.Text)  = " + std::to_string(memoTextLength(node->memo)));
        lines.push_back("aMemo.count = " + std::to_string(node->memo.size()));
    }
}

}  // namespace zel
