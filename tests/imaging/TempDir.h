#pragma once

#include "imaging/FNString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace codectest {

// A fresh directory for one test, named after it and made unique with
// mkdtemp, removed with everything in it at the end.
class TempDir {
public:
    TempDir()
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tesserine-") + info->test_suite_name() + "-" + info->name() + "-XXXXXX";
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        std::string pattern = (std::filesystem::temp_directory_path() / name).string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !m_path.empty(); }
    std::string path(const std::string& name) const { return m_path + "/" + name; }
    FNString file(const std::string& name) const { return FNString(path(name)); }

private:
    std::string m_path;
};

} // namespace codectest
