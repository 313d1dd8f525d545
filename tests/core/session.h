// A main dialog on a fake host, with a folder for the dumps a test opens.
#pragma once

#include "dump_builder.h"
#include "temp_dir.h"

#include "workbench.h"

#include "fake_host.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel::ui::testing {

class Session : public ::testing::Test {
  public:
    void SetUp() override { dialog.Start(settings); }

    // Writes a dump (and optionally its side file) into the test folder.
    std::string Dump(const std::string& name, const korvel::testing::Bytes& bytes,
                     const std::string& names = "") {
        const std::string path = dir.File(name);
        korvel::testing::WriteFile(path, bytes);
        if (!names.empty()) {
            korvel::testing::WriteFile(dir.File(name.substr(0, name.rfind('.')) + ".bnl"),
                                       korvel::testing::Bytes(names.begin(), names.end()));
        }
        return path;
    }

    void Open(int pane, const std::string& path) {
        host.openAnswers.push_back(path);
        dialog.Run(CommandId::open, pane);
    }

    void Select(int pane, ItemTag tag) { host.selected[pane] = tag; }

    korvel::testing::TempDir dir;
    FakeHost host;
    MemorySettings settings;
    Workbench dialog{host};
};

}  // namespace korvel::ui::testing
