#pragma once
// A host for face tests: only the path mapping and the folders it is given work; everything
// else is not needed by a face and fails loudly if a test reaches it.

#include <set>
#include <string>

#include "doubles/fakes.h"

namespace kaldorin::test {

class FakeHost : public LeererHost {
public:
    // The folders that exist, as Windows paths.
    std::set<std::string, std::less<>> folders;

    bool FolderExists(std::string_view path) override { return folders.contains(path); }

    // "/x/y" -> "Z:\x\y"; "/bad..." cannot be named.
    std::string WindowsPath(std::string_view hostPath) override {
        if (hostPath.starts_with("/bad")) throw Laufzeitfehler("Pfad nicht darstellbar");
        std::string path = "Z:";
        for (char c : hostPath) path += c == '/' ? '\\' : c;
        return path;
    }
};

}  // namespace kaldorin::test
