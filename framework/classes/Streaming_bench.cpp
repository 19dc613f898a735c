// Time to read a description the size of the main window (about 200 components).
#include <chrono>
#include <cstdio>

#include "framework/classes/ClassesRegistration.h"
#include "testing/StreamingTestClasses.h"

namespace {

String MainWindowSizedDescription() {
    String text = L"object Main: TTestForm\n  Title = 'Folhavida'\n";
    int n = 0;
    for (int page = 0; page < 10; ++page) {
        String p = std::to_wstring(page);
        text += L"  object Page" + p + L": TTestControl\n    Align = taClient\n"
                L"    Caption = 'P\u00E1gina " + p + L"'\n    Font.Name = 'MS Sans Serif'\n";
        ++n;
        for (int i = 0; i < 19; ++i, ++n) {
            String name = L"Edit" + std::to_wstring(n);
            text += L"    object " + name + L": TTestControl\n"
                    L"      Left = " + std::to_wstring(8 + i * 4) + L"\n"
                    L"      Caption = 'Campo n\u00famero " + std::to_wstring(n) + L"'\n"
                    L"      Font.Style = [tsBold]\n      Color = $00F0F0F0\n"
                    L"      Buddy = Page" + p + L"\n      OnClick = ButtonClick\n";
            if (i % 5 == 0) text += L"      Items.Strings = (\n        'Masculino'\n        'Feminino')\n";
            text += L"    end\n";
        }
        text += L"  end\n";
    }
    return text + L"end\n";
}

}  // namespace

int main() {
    RegisterClassesClasses();
    RegisterStreamingTestClasses();
    String text = MainWindowSizedDescription();
    const int reads = 200;
    int components = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reads; ++i) {
        TLocal<TTestForm> form(nullptr);
        ReadComponentFromText(&form, text, L"TMainBench");
        components = form.ComponentCount();
    }
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("Streaming: %d components, %.3f ms per read (%d reads)\n", components,
                elapsed.count() / reads, reads);
    return 0;
}
