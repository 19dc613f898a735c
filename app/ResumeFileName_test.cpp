#include "app/ResumeFileName.h"

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"

TEST(ResumeFileName, MakesTheEnteredNameOnePlainFileInTheFolder) {
    struct Row {
        const wchar_t* Folder;
        const wchar_t* Name;
        const wchar_t* File;  // empty: refused
    };
    const Row rows[] = {
        {L"C:\\Docs", L"João Conceição", L"C:\\Docs\\João Conceição.QRP"},
        {L"C:\\Docs\\", L"Ana", L"C:\\Docs\\Ana.QRP"},
        {L"C:\\", L"Ana", L"C:\\Ana.QRP"},  // a drive root: one delimiter, not two
        {L"C:\\Docs", L"", L""},
        {L"C:\\Docs", L"   ", L""},
        {L"C:\\Docs", L"..", L""},
        {L"C:\\Docs", L"\\/", L""},
        {L"C:\\Docs", L"..\\..\\Windows\\win", L"C:\\Docs\\____Windows_win.QRP"},
        {L"C:\\Docs", L"a/b\\c", L"C:\\Docs\\a_b_c.QRP"},
        {L"C:\\Docs", L"C:\\temp\\x", L"C:\\Docs\\C__temp_x.QRP"},
        {L"C:\\Docs", L"Ana <Maria> \"Silva\"?*|", L"C:\\Docs\\Ana _Maria_ _Silva____.QRP"},
        {L"C:\\Docs", L"tab\there", L"C:\\Docs\\tab_here.QRP"},
        {L"C:\\Docs", L"Maria...", L"C:\\Docs\\Maria_.QRP"},
        {L"C:\\Docs", L".oculto", L"C:\\Docs\\oculto.QRP"},
        {L"C:\\Docs", L"J. Silva", L"C:\\Docs\\J. Silva.QRP"},
        {L"C:\\Docs", L"con", L"C:\\Docs\\_con.QRP"},
        {L"C:\\Docs", L"NUL.txt", L"C:\\Docs\\_NUL.txt.QRP"},
        {L"C:\\Docs", L"com1", L"C:\\Docs\\_com1.QRP"},
        {L"C:\\Docs", L"lpt9 ", L"C:\\Docs\\_lpt9.QRP"},
        {L"C:\\Docs", L"Conceição", L"C:\\Docs\\Conceição.QRP"},
        {L"C:\\Docs", L"com10", L"C:\\Docs\\com10.QRP"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ResumeFileName(row.Folder, row.Name), row.File) << StringToUtf8(row.Name);
}
