#pragma once
// The unpacker of the first-run archives: one property per unpacking option and one call
// that unpacks an archive into a folder. Nothing is ever written outside the target folder.
#include <QString>
#include <cstdint>

class CGUnzipFiles {
public:
    bool ExtractNewer() const { return m_ExtractNewer == 1; }
    void ExtractNewer(bool v) { m_ExtractNewer = v ? 1 : 0; }
    bool SpaceToUnderScore() const { return m_SpaceToUnderScore == 1; }
    void SpaceToUnderScore(bool v) { m_SpaceToUnderScore = v ? 1 : 0; }
    bool PromptOverwrite() const { return m_PromptOverwrite == 1; }
    void PromptOverwrite(bool v) { m_PromptOverwrite = v ? 1 : 0; }
    int16_t MessageLevel() const { return m_MessageLevel; }
    void MessageLevel(int16_t v) { m_MessageLevel = v; }
    bool WriteToStdOut() const { return m_WriteToStdOut == 1; }
    void WriteToStdOut(bool v) { m_WriteToStdOut = v ? 1 : 0; }
    bool TestZip() const { return m_TestZip == 1; }
    void TestZip(bool v) { m_TestZip = v ? 1 : 0; }
    bool ExtractList() const { return m_ExtractList == 1; }
    void ExtractList(bool v) { m_ExtractList = v ? 1 : 0; }
    bool ExtractOnlyNewer() const { return m_ExtractOnlyNewer == 1; }
    void ExtractOnlyNewer(bool v) { m_ExtractOnlyNewer = v ? 1 : 0; }
    bool DisplayComment() const { return m_DisplayComment == 1; }
    void DisplayComment(bool v) { m_DisplayComment = v ? 1 : 0; }
    bool HonorDirectories() const { return m_HonorDirectories == 1; }
    void HonorDirectories(bool v) { m_HonorDirectories = v ? 1 : 0; }
    bool OverWriteFiles() const { return m_OverWriteFiles == 1; }
    void OverWriteFiles(bool v) { m_OverWriteFiles = v ? 1 : 0; }
    bool ConvertCRtoCRLF() const { return m_ConvertCRtoCRLF == 1; }
    void ConvertCRtoCRLF(bool v) { m_ConvertCRtoCRLF = v ? 1 : 0; }
    bool Verbose() const { return m_Verbose == 1; }
    void Verbose(bool v) { m_Verbose = v ? 1 : 0; }
    bool CaseSensitive() const { return m_CaseSensitive == 1; }
    void CaseSensitive(bool v) { m_CaseSensitive = v ? 1 : 0; }
    int16_t Privilege() const { return m_Privilege; }
    void Privilege(int16_t v) { m_Privilege = v; }
    QString ZipFileName() const { return m_ZipFileName; }
    void ZipFileName(const QString& v) { m_ZipFileName = v; }
    QString ExtractDir() const { return m_ExtractDir; }
    void ExtractDir(const QString& v) { m_ExtractDir = v; }

    // Non-empty arguments replace ZipFileName and ExtractDir. Returns 0 on success.
    int Unzip(const QString& zipFile = QString(), const QString& extractDir = QString());
    // What the run printed (UnzipMessage).
    QString GetLastMessage() const;

private:
    int16_t m_ExtractNewer = 0;
    int16_t m_SpaceToUnderScore = 0;
    int16_t m_PromptOverwrite = 0;
    int16_t m_MessageLevel = 2;
    int16_t m_WriteToStdOut = 0;
    int16_t m_TestZip = 0;
    int16_t m_ExtractList = 0;
    int16_t m_ExtractOnlyNewer = 0;
    int16_t m_DisplayComment = 0;
    int16_t m_HonorDirectories = 1;
    int16_t m_OverWriteFiles = 1;
    int16_t m_ConvertCRtoCRLF = 0;
    int16_t m_Verbose = 0;
    int16_t m_CaseSensitive = 1;
    int16_t m_Privilege = 0;
    QString m_ZipFileName;
    QString m_ExtractDir;
};

// Result codes of an unpacking run.
namespace UnzipResult {
constexpr int OK = 0;
constexpr int Warning = 1;      // some members were skipped (refused paths, declined overwrites)
constexpr int Error = 2;        // a member was damaged
constexpr int NotFound = 9;     // the archive is missing or is no archive
constexpr int BadParam = 10;
constexpr int Disk = 50;        // a file could not be written
constexpr int BadPassword = 82;
}  // namespace UnzipResult

// The unpacking run itself, with the options in the order of the properties above.
struct UnzipOptions {
    bool extractNewer = false, spaceToUnderscore = false, promptOverwrite = false;
    int quietLevel = 2;
    bool toStdOut = false, test = false, list = false, freshen = false, comment = false;
    bool honorDirectories = true, overwrite = true, convertLineEnds = false, verbose = false, caseSensitive = true;
    int privilege = 0;
};
int RunUnzip(const QString& zipFile, const QString& extractDir, const UnzipOptions& options);

// The replace question's answers.
namespace UnzipReplace {
constexpr int No = 100;
constexpr int Yes = 102;
constexpr int None = 104;
}  // namespace UnzipReplace
