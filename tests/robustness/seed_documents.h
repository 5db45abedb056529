#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace velora::test {

// One of the installer's built-in markup documents.
struct SeedDocument {
    UINT id;
    bool isLayout;
    std::string text;
};

// Every built-in layout and table, as linked into this program.
const std::vector<SeedDocument>& SeedDocuments();

// An override folder holding the built-in documents, set on the resource
// loader for its life; Replace puts another text in place of one of them.
class SeedFolder {
  public:
    SeedFolder();
    ~SeedFolder();
    SeedFolder(const SeedFolder&) = delete;
    SeedFolder& operator=(const SeedFolder&) = delete;

    void Replace(UINT id, const std::string& text);
    void Restore(UINT id);
    // Loads the skin, style and string tables from the folder.
    void LoadTables();

  private:
    TempFolder folder_;
};

}  // namespace velora::test
