#include "report/expressions/QREvEnvironment.h"

#include <gtest/gtest.h>

#include "framework/classes/Component.h"
#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/rtl/StringUtils.h"
#include "testing/QRTestDataSet.h"

// A component that stores an environment: its lines as "Functions.Strings", its expressions as
// "Functions.DATA".
class TEnvironmentHost : public TComponent {
    FV_CLASS(TEnvironmentHost, TComponent)
public:
    explicit TEnvironmentHost(TComponent* owner) : TComponent(owner) {}
    static void Publish(TPublisher<TEnvironmentHost>& p) {
        p.Property(L"Functions", &TEnvironmentHost::Functions);
    }
    TQREvEnvironment* Functions() const { return functions_.get(); }

private:
    std::unique_ptr<TQREvEnvironment> functions_ = std::make_unique<TQREvEnvironment>();
};

namespace {

const wchar_t* const AppTitle = L"Folhavida Tests";

// The program initializes the engine with its title before anything else uses it.
class EngineEnvironment : public testing::Environment {
public:
    void SetUp() override { InitializeExpressionEngine(AppTitle); }
};

testing::Environment* const engineEnvironment = testing::AddGlobalTestEnvironment(new EngineEnvironment);

// A report's Functions as the report template stores them.
void DefineTemplateEntries(TQREvEnvironment& environment) {
    environment.DefineEntry(L"PAGENUMBER", L"0");
    environment.DefineEntry(L"COLUMNNUMBER", L"0");
    environment.DefineEntry(L"REPORTTITLE", L"''");
    environment.DefineEntry(L"QRSTRINGSBAND1", L"''");
}

TQREvResultRecord EvaluateWith(TQREvEnvironment& environment, const String& expression) {
    TQREvaluator evaluator;
    evaluator.SetEnvironment(&environment);
    return evaluator.CalculateOnce(expression);
}

TEST(Environment, SelfReferenceIsAnError) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"A", L"A + 1");
    environment.DefineEntry(L"B", L"C * 2");
    environment.DefineEntry(L"C", L"B");
    environment.Compile();
    EXPECT_EQ(L"Recursive calls not allowed", environment.EvaluateEntry(L"A").Text);
    EXPECT_EQ(L"Recursive calls not allowed", environment.EvaluateEntry(L"b").Text);
    EXPECT_EQ(L"Recursive calls not allowed", EvaluateWith(environment, L"1 + C").Text);
    environment.Release();
}

TEST(Environment, AFailureLeavesNoRecursionMarkBehind) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"OVER", L"2147483647 + 1");
    environment.DefineEntry(L"LOOP", L"LOOP");
    environment.DefineEntry(L"USESLOOP", L"IF(TRUE, 5, LOOP)");
    environment.Compile();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(L"Integer overflow", environment.EvaluateEntry(L"OVER").Text);
        EXPECT_EQ(5, environment.EvaluateEntry(L"USESLOOP").IntValue);
    }
    environment.Release();
}

TEST(Environment, RedefiningKeepsTheFirstExpression) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"x", L"1");
    environment.DefineEntry(L"X", L"2");
    EXPECT_EQ(1, environment.Count());
    EXPECT_EQ(L"X", environment.Get(0));
    environment.Compile();
    EXPECT_EQ(1, environment.EvaluateEntry(L"x").IntValue);
    environment.Release();

    GetGlobalEnvironment()->DefineEntry(L"AppName", L"'other'");
    TQREvaluator evaluator;
    EXPECT_EQ(AppTitle, evaluator.CalculateOnce(L"AppName").Text);
}

TEST(Environment, GlobalEntriesAreAvailableEverywhere) {
    TQREvaluator evaluator;
    evaluator.Compile(L"appname");
    EXPECT_TRUE(GetGlobalEnvironment()->IsCompiled());
    EXPECT_EQ(AppTitle, evaluator.Evaluate().Text);
    EXPECT_EQ(L"STRING", evaluator.CalculateOnce(L"TYPEOF(AppStartTime) + ''").Text);
    EXPECT_EQ(L"STRING", evaluator.CalculateOnce(L"TYPEOF(AppStartDate)").Text);
}

TEST(Environment, GlobalEntriesMayReferToEachOther) {
    TQREvEnvironment* global = GetGlobalEnvironment();
    global->DefineEntry(L"GREETING", L"'Hello, ' + AppName");
    TQREvaluator evaluator;
    EXPECT_EQ(L"Hello, Folhavida Tests", evaluator.CalculateOnce(L"Greeting").Text);
    global->RemoveEntry(L"greeting");
    EXPECT_EQ(L"Unknown function : Greeting", evaluator.CalculateOnce(L"Greeting").Text);
}

TEST(Environment, OwnEntriesComeBeforeGlobalOnes) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"AppName", L"'mine'");
    environment.Compile();
    EXPECT_EQ(L"mine", EvaluateWith(environment, L"AppName").Text);
    EXPECT_EQ(L"Unknown function : Nothing", EvaluateWith(environment, L"Nothing").Text);
    environment.Release();
}

TEST(Environment, PreparationIsCounted) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"ONE", L"1");
    EXPECT_EQ(L"Evaluator not prepared", environment.EvaluateEntry(L"ONE").Text);
    environment.Compile();
    environment.Compile();
    environment.DefineEntry(L"TWO", L"ONE + 1");  // compiled at once
    environment.Release();
    EXPECT_TRUE(environment.IsCompiled());
    EXPECT_EQ(2, environment.EvaluateEntry(L"TWO").IntValue);
    environment.Release();
    EXPECT_FALSE(environment.IsCompiled());
    EXPECT_EQ(L"Evaluator not prepared", environment.EvaluateEntry(L"TWO").Text);
    EXPECT_EQ(L"Evaluator not prepared", EvaluateWith(environment, L"TWO").Text);
    environment.Release();  // one too many does nothing
    EXPECT_FALSE(environment.IsCompiled());
    EXPECT_EQ(rkError, environment.EvaluateEntry(L"THREE").Kind);
}

TEST(Environment, RunConstantsCanBeOverwritten) {
    TQREvEnvironment environment;
    DefineTemplateEntries(environment);
    EXPECT_EQ(nullptr, environment.FindConstant(L"PAGENUMBER"));  // not compiled yet
    environment.Compile();
    EXPECT_EQ(nullptr, environment.FindConstant(L"MISSING"));
    TQREvEnvironment::AssignIntegerConstant(environment.FindConstant(L"pagenumber"), 7);
    TQREvEnvironment::AssignStringConstant(environment.FindConstant(L"REPORTTITLE"), L"Curriculo");
    TQREvEnvironment::AssignConstant(environment.FindConstant(L"QRSTRINGSBAND1"), TQREvResultRecord::Str(L"x"));
    TQREvEnvironment::AssignStringConstant(environment.FindConstant(L"COLUMNNUMBER"), L"ignored");
    EXPECT_EQ(8, EvaluateWith(environment, L"PageNumber + 1").IntValue);
    EXPECT_EQ(L"Curriculo x", EvaluateWith(environment, L"REPORTTITLE + ' ' + QRSTRINGSBAND1").Text);
    EXPECT_EQ(0, EvaluateWith(environment, L"COLUMNNUMBER").IntValue);
    environment.Release();
}

TEST(Environment, NamedExpressionsReadDatasetFields) {
    FakeDataSet people(L"People");
    people.AddField(L"Age", TQRFieldKind::Integer).integer = 21;
    TQRDataSetList list{&people};
    TQREvEnvironment environment;
    environment.BindDataSets(&list);
    environment.DefineEntry(L"DOUBLEAGE", L"Age * 2");
    environment.Compile();
    EXPECT_EQ(42, EvaluateWith(environment, L"DoubleAge").IntValue);
    environment.Release();
}

TEST(Environment, ResetReachesOnlyTheNamedExpressionItself) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"TICKS", L"COUNT");
    environment.Compile();
    TQREvEmbeddedFunction* ticks = environment.EntryFunction(0);
    ASSERT_NE(nullptr, ticks);
    EXPECT_EQ(L"COUNT", ticks->SourceText());
    for (int i = 0; i < 3; ++i) ticks->Evaluator().Accumulate();
    TQREvaluator evaluator;
    evaluator.SetEnvironment(&environment);
    evaluator.Compile(L"TICKS");
    evaluator.Accumulate();  // a wrapper evaluates; it does not accumulate the named expression
    evaluator.ResetAggregates();
    EXPECT_EQ(3, evaluator.Evaluate().IntValue);
    ticks->ResetValue();
    EXPECT_EQ(0, evaluator.Evaluate().IntValue);
    evaluator.Release();
    environment.Release();
}

TEST(Environment, LongChainsOfNamedExpressionsStopAtTheDepthLimit) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"N0", L"1");
    for (int i = 1; i <= 700; ++i)
        environment.DefineEntry(L"N" + std::to_wstring(i), L"N" + std::to_wstring(i - 1) + L" + 1");
    environment.Compile();
    EXPECT_EQ(101, environment.EvaluateEntry(L"N100").IntValue);
    EXPECT_EQ(L"Expression nested too deeply", environment.EvaluateEntry(L"N700").Text);
    EXPECT_EQ(101, environment.EvaluateEntry(L"N100").IntValue);
    environment.Release();
}

// ---- the stored "DATA" property ----

TEST(EnvironmentData, RoundTrip) {
    TQREvEnvironment stored;
    DefineTemplateEntries(stored);
    const std::vector<String> data = stored.WriteData();
    EXPECT_EQ((std::vector<String>{L"0", L"0", L"''", L"''"}), data);

    TQREvEnvironment loaded;
    for (int i = 0; i < stored.Count(); ++i) loaded.Add(stored.Get(i));  // "Strings" come first
    loaded.ReadData(data);
    ASSERT_EQ(4, loaded.Count());
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(nullptr, loaded.EntryFunction(i));
        EXPECT_EQ(data[static_cast<size_t>(i)], loaded.EntryFunction(i)->SourceText());
    }
    EXPECT_EQ(data, loaded.WriteData());
    loaded.Compile();
    EXPECT_EQ(L"", loaded.EvaluateEntry(L"REPORTTITLE").Text);
    EXPECT_EQ(0, loaded.EvaluateEntry(L"PAGENUMBER").IntValue);
    loaded.Release();
}

TEST(EnvironmentData, ExistingExpressionsAreKept) {
    TQREvEnvironment environment;
    environment.DefineEntry(L"A", L"1");
    environment.Add(L"B");
    environment.ReadData({L"10", L"20"});
    EXPECT_EQ((std::vector<String>{L"1", L"20"}), environment.WriteData());
}

TEST(EnvironmentData, CountMismatchIsAReadingError) {
    for (const std::vector<String>& data : {std::vector<String>{L"1", L"2"}, std::vector<String>{L"1", L"2", L"3", L"4"},
                                            std::vector<String>{}}) {
        TQREvEnvironment environment;
        environment.Add(L"A");
        environment.Add(L"B");
        environment.Add(L"C");
        EXPECT_THROW(environment.ReadData(data), EReadError);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(nullptr, environment.EntryFunction(i));
        environment.Compile();
        EXPECT_EQ(L"Unknown function : B", EvaluateWith(environment, L"B").Text);
        environment.Release();
    }
}

TEST(EnvironmentData, StoredDescriptionRoundTrip) {
    TLocal<TEnvironmentHost> stored(nullptr);
    stored.SetName(L"Report");
    DefineTemplateEntries(*stored.Functions());
    const String text = WriteComponentToText(&stored);
    EXPECT_NE(String::npos, text.find(L"Functions.DATA = (")) << StringToUtf8(text);

    TLocal<TEnvironmentHost> loaded(nullptr);
    ReadComponentFromText(&loaded, text, L"environment");
    ASSERT_EQ(4, loaded.Functions()->Count());
    EXPECT_EQ(L"REPORTTITLE", loaded.Functions()->Get(2));
    EXPECT_EQ(stored.Functions()->WriteData(), loaded.Functions()->WriteData());
}

TEST(EnvironmentData, StoredDescriptionWithTooFewExpressionsFails) {
    const String text =
        L"object Report: TEnvironmentHost\n"
        L"  Functions.Strings = (\n    'A'\n    'B')\n"
        L"  Functions.DATA = (\n    '1')\n"
        L"end\n";
    TLocal<TEnvironmentHost> loaded(nullptr);
    EXPECT_THROW(ReadComponentFromText(&loaded, text, L"environment"), Exception);
    EXPECT_EQ(nullptr, loaded.Functions()->EntryFunction(1));
}

}  // namespace
