#pragma once
// An INI-style file: its lines are read at creation, and every write edits
// them and writes the whole file back.
#include "core/IniLines.h"
#include "core/StoredText.h"

#include <string>

namespace zep {

class TIniFile32 {
public:
    // Reads the file when it exists; FileError "Cannot open file" when it can't be
    // read. A line that reads two ways is taken as the one `known` accepts.
    explicit TIniFile32(std::string fileName, const LineTest& known = {});

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const {
        return FLines.ReadString(section, key, def);
    }
    int ReadInteger(const std::string& section, const std::string& key, int def) const {
        return FLines.ReadInteger(section, key, def);
    }
    bool ReadBool(const std::string& section, const std::string& key, bool def) const {
        return FLines.ReadBool(section, key, def);
    }

    // Each throws FileError "Cannot create file" when the file can't be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteBool(const std::string& section, const std::string& key, bool value) {
        WriteString(section, key, value ? "1" : "0");
    }
    // The file WriteBool would leave after each entry in turn, written once.
    void WriteBools(const std::string& section, const std::vector<std::pair<std::string, bool>>& entries);

private:
    void UpdateFile();

    std::string FFileName;
    IniLines FLines{CompareTextNoCase};
    std::string FStored;  // the file's bytes as last read or written: an unchanged file is not rewritten
};

}  // namespace zep
