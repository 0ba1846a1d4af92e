// Test fixture: a TLang over a folder of its own, with message boxes
// recorded and .lng files written from texts.
#ifndef TESTS_SHELL_LANG_FIXTURE_H
#define TESTS_SHELL_LANG_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#include "lang.h"
#include "lng_encoder.h"
#include "messages.h"

inline bool FileExists(const AnsiString& name)
{
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

struct Shown {
    std::string text, caption;
    unsigned flags;
};

// A TLang over a folder of its own, with message boxes recorded. Open in
// SetUp, Close in TearDown.
class LangSandbox {
public:
    void Open(const std::string& testName)
    {
        namespace fs = std::filesystem;
        fs::path dir = fs::temp_directory_path() / ("langtest-" + testName);
        fs::remove_all(dir);
        fs::create_directories(dir);
        dir_ = dir.string() + "/";
        // Temporary files in the test's own folder: ctest runs the tests in
        // parallel processes, and a name one test freed may be claimed by
        // another at once.
        savedTempName_ = MakeLanguageTempName;
        MakeLanguageTempName = [this] {
            return AnsiString((dir_ + "KSLNG" + std::to_string(++temps_) + ".tmp").c_str());
        };
        MessageBoxHook = [this](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            shown_.push_back({text.c_str(), caption.c_str(), flags});
            return 1;
        };
        lang_ = new TLang(dir_.c_str());
    }
    void Close()
    {
        delete lang_;
        lang_ = nullptr;
        MessageBoxHook = nullptr;
        MakeLanguageTempName = savedTempName_;
        std::filesystem::remove_all(dir_);
    }
    void WriteLng(const std::string& name, const Bytes& bytes)
    {
        std::FILE* f = std::fopen((dir_ + name + ".lng").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    // Loads text as the language "test".
    void LoadText(const std::string& text)
    {
        WriteLng("test", EncodeLng(text));
        lang_->Load("test");
        ASSERT_TRUE(shown_.empty());
    }
    std::string T(const char* key) { return Translate(key).c_str(); }

    std::string dir_;
    std::vector<Shown> shown_;
    TLang* lang_ = nullptr;
    std::function<AnsiString()> savedTempName_;
    int temps_ = 0;
};

inline std::string CurrentTestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

class LangTest : public ::testing::Test, protected LangSandbox {
protected:
    void SetUp() override { Open(CurrentTestName()); }
    void TearDown() override { Close(); }
};

#endif
