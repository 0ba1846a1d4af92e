#include "sysutils.h"

#include <gtest/gtest.h>

#include "exceptions.h"
#include "stringlist.h"
#include "winapi.h"

TEST(SysUtilsFiles, CreateRenameDeleteAndQuery)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    AnsiString dir = IncludeTrailingBackslash(temp) + "kestrel-sysutils-" + IntToStr(GetTickCount());
    ASSERT_TRUE(CreateDir(dir));
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(FileExists(dir));
    AnsiString a = dir + "\\a.txt", b = dir + "\\b.txt";
    TStringList lines;
    lines.Add("one");
    lines.Add("two");
    lines.SaveToFile(a);
    EXPECT_TRUE(FileExists(a));
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    TStringList back;
    back.LoadFromFile(b);
    EXPECT_TRUE(back.Equals(&lines));
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_THROW(back.LoadFromFile(b), EFOpenError);
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str()));
    EXPECT_FALSE(DirectoryExists(dir));
    EXPECT_FALSE(GetCurrentDir().IsEmpty());
    EXPECT_TRUE(DirectoryExists(GetCurrentDir()));
}

TEST(SysUtilsFiles, UserDateSettingsMatchTheSystemsOwnFormatting)
{
    InitFormatSettings();
    SYSTEMTIME t = {};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 5;
    t.wDayOfWeek = 2;
    t.wHour = 14;
    t.wMinute = 7;
    t.wSecond = 9;
    char shortDate[64], longDate[128], time[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, shortDate, sizeof shortDate);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, longDate, sizeof longDate);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time);
    TDateTime value = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(AnsiString(shortDate), FormatDateTime("ddddd", value));
    EXPECT_EQ(AnsiString(longDate), FormatDateTime("dddddd", value));
    EXPECT_EQ(AnsiString(time), FormatDateTime("tt", value));
    int year, month, day;
    DecodeDate(Now(), year, month, day);
    EXPECT_GE(year, 2020);
    EXPECT_LE(Date(), Now());
}
