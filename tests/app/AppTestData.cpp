#include "app/AppTestData.h"

#include "lexicon/Style.h"
#include "support/DictionaryFile.h"
#include "support/StyleFile.h"

#include <QSettings>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace pelorin::test {
TestRoot::TestRoot()
{
    for (const char* folder : {"Styles", "Cache", "Games"})
        std::filesystem::create_directory(dir_.Path() / folder);
    WriteDictionary(dir_.Folder(), PlainWords(AbcWords(2, 8)), kStamp);
    if (!dictionary_.Load(dir_.Folder()))
        throw std::runtime_error("the test dictionary does not load");
}

void TestRoot::AddStyle(const std::string& fileName, int maxLength)
{
    Style style(dictionary_);
    for (int32_t i = 0; i < dictionary_.Count(); ++i)
        if (dictionary_.Record(i).length <= maxLength)
            style.MarkWord(i);
    style.BuildWordList();
    if (!style.SaveFile(StyleFile(fileName)))
        throw std::runtime_error("cannot write the test style");
}

void TestRoot::AddStaleStyle(const std::string& fileName)
{
    TestStyle style;
    style.stamp = kStamp + 1;
    for (int32_t i = 0; i < dictionary_.Count(); ++i)
        style.words.push_back(i);
    if (!style.WriteTo(StyleFile(fileName)))
        throw std::runtime_error("cannot write the test style");
}

SettingsDir::SettingsDir()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(Folder()));
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
} // namespace pelorin::test
