#pragma once

#include <memory>
#include <string>

#include "platform/CodePage.h"
#include "config/LanguageTexts.h"
#include "kfield/TransferJob.h"
#include "source/MemoryApplication.h"
#include "support/Doubles.h"
#include "support/FaultyFileSystem.h"
#include "support/Files.h"
#include "support/TestTexts.h"

#include <gtest/gtest.h>

namespace testing_support {

// The world of one conversion in a test: a temporary output directory with the stem PUMP, numbered
// language texts, windows-1252, recording message and progress doubles, a file system with faults on cue.
class ConversionFixture : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    config::LanguageTexts texts = numberedTexts();
    FixedRegionalSettings regional{"."};
    std::unique_ptr<config::CodePage> codePage = config::codePageByNumber(1252);
    FaultyFileSystem files;
    RecordingProgress progress;
    RecordingMessages messages{&progress};
    kfield::TransferSettings settings;

    // Runs the operation on a job for the application's part program, measured at 05.12.2026 14:03:12.
    template <class Operation>
    auto run(source::MemoryApplication& application, Operation operation)
    {
        const auto partProgram = application.ActivePartProgram();
        const kfield::OutputPaths paths{dir / "PUMP.dfd", dir / "PUMP.dfx", dir / "PUMP.tmp", dir / "PUMP.dfq"};
        const kfield::TransferJob job{application, *partProgram, paths, "05.12.2026/14:03:12", settings};
        return operation(job, {texts, regional, *codePage, files, messages, progress});
    }

    std::string file(const std::string& name) const { return readBytes(dir / name); }
    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : messages.messages)
            texts.push_back(message.text);
        return texts;
    }
};

} // namespace testing_support
