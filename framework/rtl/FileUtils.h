// File-name manipulation and file-system queries. Both '\' and '/' count as path delimiters.
#pragma once

#include "framework/rtl/System.h"

constexpr wchar_t PathDelim = L'\\';
constexpr wchar_t DriveDelim = L':';

String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);   // with the dot; empty when none
String ExtractFilePath(const String& fileName);  // with the trailing delimiter
String ExtractFileDir(const String& fileName);   // without it, except for a drive root "C:\"
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);
String ExpandFileName(const String& fileName);

bool FileExists(const String& fileName);  // false for directories
bool DirectoryExists(const String& directory);
bool ForceDirectories(const String& directory);  // creates every missing level
bool RemoveDir(const String& directory);         // an empty one
bool DeleteFile(const String& fileName);
bool RenameFile(const String& oldName, const String& newName);
Int64 FileSize(const String& fileName);  // -1 when it cannot be read

String GetTempDirectory();                       // with a trailing delimiter
String CreateTempFileName(const String& prefix); // creates the empty file in the temp directory

// Replacing a file as a whole: the new contents go into a temporary file in the same folder,
// which then takes the target's place, so a failure leaves the target as it was. Both raise
// EFCreateError naming target.
String CreateTempFileBeside(const String& target, const String& prefix);  // creates it empty
void ReplaceFileWith(const String& source, const String& target);
String ProgramPath();                            // full name of the running executable
String ProgramFolder();                          // its folder, with a trailing delimiter

String SysErrorMessage(unsigned long errorCode);  // the system's text, without trailing line breaks or full stop
