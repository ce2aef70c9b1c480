#include "core/IniFiles32.h"

#include "core/FileSystem.h"

namespace zep {

TIniFile32::TIniFile32(std::string fileName, const LineTest& known) : FFileName(std::move(fileName)) {
    if (auto bytes = ReadFileIfAny(FFileName)) {
        FStored = std::move(*bytes);
        FLines = IniLines(CompareTextNoCase, FromStoredLines(FStored, known));
    }
}

void TIniFile32::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    FLines.WriteString(section, key, value);
    UpdateFile();
}

void TIniFile32::WriteBools(const std::string& section,
                            const std::vector<std::pair<std::string, bool>>& entries) {
    FLines.WriteBools(section, entries);
    UpdateFile();
}

void TIniFile32::UpdateFile() {
    std::string text = ToStoredText(FLines.Text());
    if (text == FStored) return;
    StagingArea().Replace(FFileName, text);
    FStored = std::move(text);
}

}  // namespace zep
