// Compilations and evaluations per second of representative report expressions.
#include <chrono>
#include <cstdio>
#include <functional>

#include "framework/rtl/StringUtils.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/expressions/QREvaluator.h"
#include "testing/QRTestDataSet.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs the action repeatedly for about the given time; returns runs per second.
double RunsPerSecond(const std::function<void()>& action, double seconds = 0.5) {
    long runs = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0.0;
    do {
        for (int i = 0; i < 100; ++i) action();
        runs += 100;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return runs / elapsed;
}

struct Sample {
    const char* label;
    const wchar_t* expression;
    bool accumulate;
};

}  // namespace

int main() {
    InitializeExpressionEngine(L"Folhavida");
    FakeDataSet data(L"Data");
    FakeField& amount = data.AddField(L"Amount", TQRFieldKind::Float);
    amount.number = 12.5;
    TQRDataSetList dataSets{&data};
    TQREvEnvironment functions;
    functions.DefineEntry(L"PAGENUMBER", L"0");
    functions.Compile();
    TQREvEnvironment::AssignIntegerConstant(functions.FindConstant(L"PAGENUMBER"), 3);

    const Sample samples[] = {
        {"arithmetic", L"(12 + 30) * 2 - 7 / 2 + 1.5 * 4", false},
        {"string concatenation", L"'Curriculo de ' + 'Maria' + ' ' + UPPER('silva') + ' - ' + STR(2026)", false},
        {"IF with comparison", L"IF(PAGENUMBER > 1, 'Pagina ' + STR(PAGENUMBER), '')", false},
        {"aggregate SUM (accumulate)", L"SUM(Amount * 2)", true},
    };
    std::printf("%-28s %16s %16s\n", "expression", "compilations/s", "evaluations/s");
    for (const Sample& sample : samples) {
        TQREvaluator evaluator;
        evaluator.SetEnvironment(&functions);
        evaluator.BindDataSets(&dataSets);
        const String text = sample.expression;
        const double compilations = RunsPerSecond([&] { evaluator.Compile(text); });
        evaluator.Compile(text);
        const double evaluations = RunsPerSecond([&] {
            if (sample.accumulate)
                evaluator.Accumulate();
            else
                evaluator.Evaluate();
        });
        std::printf("%-28s %16.0f %16.0f   -> %s\n", sample.label, compilations, evaluations,
                    StringToUtf8(ResultAsText(evaluator.Evaluate())).c_str());
    }
    functions.Release();

    // Compilation time grows linearly with the text length.
    for (int length : {1000, 10000, 100000}) {
        const String text = L"'" + String(static_cast<size_t>(length), L'x') + L"' + 'y'";
        TQREvaluator evaluator;
        const double compilations = RunsPerSecond([&] { evaluator.Compile(text); }, 0.3);
        std::printf("string literal of %6d characters: %12.0f compilations/s\n", length, compilations);
    }
    return 0;
}
