// The expression compiler and evaluator on any text, in a small environment: a dataset with a
// field of each kind, and named expressions. Input (UTF-8): the expression on the first line;
// each further line "NAME=expression" defines a named expression for this input (they may call
// each other, and themselves). Errors in expressions compile into error results: nothing raises.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/rtl/StringUtils.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/expressions/QREvaluator.h"
#include "testing/QRTestDataSet.h"

namespace {

constexpr std::size_t kMaxText = 4096;

struct Data {
    FakeDataSet clients{L"Clientes"};
    TQRDataSetList list{&clients};
    Data() {
        clients.AddField(L"Nome", TQRFieldKind::Text).text = L"Ana Bela";
        clients.AddField(L"Idade", TQRFieldKind::Integer).integer = 42;
        clients.AddField(L"Salario", TQRFieldKind::Float).number = 1234.5;
        clients.AddField(L"Ativo", TQRFieldKind::Boolean).boolean = true;
        clients.AddField(L"Nascimento", TQRFieldKind::DateTime).text = L"02/03/1981";
        clients.AddField(L"Foto", TQRFieldKind::Other);
    }
};

void DefineEntries(TQREvEnvironment& environment, const String& lines) {
    std::size_t at = 0;
    while (at < lines.size()) {
        std::size_t end = lines.find(L'\n', at);
        if (end == String::npos) end = lines.size();
        const String line = lines.substr(at, end - at);
        const std::size_t equals = line.find(L'=');
        if (equals != String::npos && equals > 0) environment.DefineEntry(line.substr(0, equals), line.substr(equals + 1));
        at = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitializeExpressionEngine(L"Folhavida");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxText) return 0;
    static Data fields;
    const String text = Utf8ToString(std::string(reinterpret_cast<const char*>(data), size));
    const std::size_t newline = text.find(L'\n');

    TQREvEnvironment environment;
    if (newline != String::npos) DefineEntries(environment, text.substr(newline + 1));
    environment.BindDataSets(&fields.list);
    environment.Compile();

    TQREvaluator evaluator;
    evaluator.SetEnvironment(&environment);
    evaluator.BindDataSets(&fields.list);
    evaluator.Compile(text.substr(0, newline));
    evaluator.Evaluate();
    if (evaluator.HasAggregates()) {
        evaluator.Accumulate();
        evaluator.Accumulate();
        evaluator.Evaluate();
        evaluator.ResetAggregates();
    }
    evaluator.Release();
    environment.Release();
    return 0;
}
