// Share modes: Windows enforces them; POSIX has no such rule (framework/rtl/Platform.h).
#include "framework/rtl/Streams.h"

#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"

namespace {

class TempFile {
public:
    TempFile() : name_(CreateTempFileName(L"fvs")) {}
    ~TempFile() { DeleteFile(name_); }
    const String& Name() const { return name_; }

private:
    String name_;
};

TEST(FileStreamTest, ShareModes) {
    TempFile file;
    {
        TFileStream exclusive(file.Name(), fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(file.Name(), fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream reader(file.Name(), fmOpenRead | fmShareDenyWrite);
        TFileStream secondReader(file.Name(), fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(file.Name(), fmOpenWrite | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream a(file.Name(), fmOpenReadWrite | fmShareDenyNone);
        TFileStream b(file.Name(), fmOpenReadWrite | fmShareDenyNone);
        a.WriteBuffer("q", 1);
        char c = 0;
        b.ReadBuffer(&c, 1);
        EXPECT_EQ(c, 'q');
    }
}

}  // namespace
