#pragma once
// Which file in the memo file's folder belongs to which holder. A holder's
// file name is made from its name and FileExt (or a name the index gave it),
// reduced to a plain name that cannot leave the folder. When two holders
// would share a file (the names a/b and a_b both give a_b.mxh) the one that
// held it first keeps it and the other gets a name of its own, which the
// index then records; a holder keeps its file while what it wants is unchanged.

#include <string>
#include <unordered_map>

namespace zel {

class MemoFile;
class MemoHolder;

// The index field that records a file name given to avoid a shared file.
inline constexpr const char* kHolderFileNameKey = "HolderFileName";

// The plain file name made from the holder's name and FileExt.
std::string holderNameFileName(const MemoHolder& holder);
// The plain file name a holder wants: the plain name of a FlagExtra Filename
// that came from content, else the recorded HolderFileName (either with the
// holder's FileExt), else holderNameFileName.
std::string wantedHolderFileName(const MemoHolder& holder);

class HolderFileNames {
  public:
    // The plain file name of `holder`, one of `file`'s holders.
    std::string nameOf(const MemoFile& file, const MemoHolder& holder);
    // The holder left the memo file.
    void forget(const MemoHolder* holder);
    void clear();

  private:
    struct Claim {
        std::string wanted;
        std::string given;
    };
    void rebuild(const MemoFile& file);

    std::unordered_map<const MemoHolder*, Claim> claims_;
};

}  // namespace zel
