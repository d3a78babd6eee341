#pragma once
// Spell-checking tests: the fixture dictionaries in tests/data/dict (xx_TEST in UTF-8, yy_LATIN in
// ISO 8859-1), found through AMF_DICTIONARY_PATH, and temporary settings whose folder holds the
// personal word list.
#include "editor/spellservice.h"
#include "tempsettings.h"

#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// xx_TEST knows: hello world don't café the screen welcome option note text finish start see or in.
class SpellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("AMF_DICTIONARY_PATH"))
            m_oldPath = old;
        m_hadPath = std::getenv("AMF_DICTIONARY_PATH") != nullptr;
        ::setenv("AMF_DICTIONARY_PATH", (std::string(AMF_TEST_DATA) + "/dict").c_str(), 1);
        ASSERT_TRUE(settingsStore.dir.isValid());
        settings = settingsStore.Make();
        settings->WriteValue("Spelling\\Language", "xx_TEST");
    }
    void TearDown() override {
        if (m_hadPath)
            ::setenv("AMF_DICTIONARY_PATH", m_oldPath.c_str(), 1);
        else
            ::unsetenv("AMF_DICTIONARY_PATH");
    }

    // A service as the program makes it at start, over the test's settings.
    std::unique_ptr<SpellService> MakeService(const QString& localeName = QStringLiteral("en_US")) {
        return std::make_unique<SpellService>(settings, localeName);
    }

    QString WordsFile() const { return SpellService::PersonalWordsFileFor(*settings); }

    TempSettings settingsStore;
    std::shared_ptr<TRegWrap> settings;

private:
    std::string m_oldPath;
    bool m_hadPath = false;
};
