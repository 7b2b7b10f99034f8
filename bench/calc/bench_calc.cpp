// Evaluations per second of TqvCalc and of muparser on one fixed set of expressions.
// TqvCalc parses every time a line is written, so muparser is timed both ways: parsing
// and evaluating each expression, and evaluating expressions parsed beforehand.
#include "utilities/qvscontrols.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Expression {
    const char* Calc;     // TqvCalc's spelling
    const char* MuParser; // the same expression for muparser
};

// Registers A, B, C, D, F hold these values; muparser knows them as variables.
constexpr double RegisterValues[] = {1.5, -2.25, 4, 0.125, 8};

const std::vector<Expression> Expressions = {
    {"1+2*3-4/5", "1+2*3-4/5"},
    {"(1.5+2.25)*(3-0.5)/2", "(1.5+2.25)*(3-0.5)/2"},
    {"((((1+2)*3-4)/5+6)*7-8)/9", "((((1+2)*3-4)/5+6)*7-8)/9"},
    {"2^10/(1+2^3)", "2^10/(1+2^3)"},
    {"SIN(PI/6)+COS(PI/3)", "sin(_pi/6)+cos(_pi/3)"},
    {"SQRT(2)*SQRT(8)-LN(EXP(2.5))", "sqrt(2)*sqrt(8)-ln(exp(2.5))"},
    {"ABS(3-7)*ARCTAN(1)+LOG(1000)", "abs(3-7)*atan(1)+log10(1000)"},
    {"A*B+C-D/F", "a*b+c-d/f"},
};

void SetRegisters(Qvscontrols::TqvCalc& calc)
{
    calc.SetPushResult(false);
    for (int r = 0; r < 5; ++r)
        calc.SetRegNum(r + 1, RegisterValues[r]);
}

struct MuParserSetup {
    double Variables[5];
    mu::Parser Parser;
    MuParserSetup()
    {
        const char* names[] = {"a", "b", "c", "d", "f"};
        for (int v = 0; v < 5; ++v) {
            Variables[v] = RegisterValues[v];
            Parser.DefineVar(names[v], &Variables[v]);
        }
    }
};

// Both sides must compute the same numbers, or the timing compares nothing.
bool ResultsAgree()
{
    Qvscontrols::TqvCalc calc;
    SetRegisters(calc);
    MuParserSetup mu;
    for (const Expression& e : Expressions) {
        calc.SetCalcLine(QString::fromLatin1(e.Calc));
        mu.Parser.SetExpr(e.MuParser);
        const double ours = static_cast<double>(calc.NumberNum());
        const double theirs = mu.Parser.Eval();
        if (calc.CalcResult() != Qvscontrols::TqvcOK || std::fabs(ours - theirs) > 1e-12 * std::fmax(1.0, std::fabs(theirs))) {
            std::fprintf(stderr, "bench_calc: %s gives %.17g, muparser %.17g\n", e.Calc, ours, theirs);
            return false;
        }
    }
    return true;
}

void BM_TqvCalc(benchmark::State& state)
{
    Qvscontrols::TqvCalc calc;
    SetRegisters(calc);
    std::vector<QString> lines;
    for (const Expression& e : Expressions)
        lines.push_back(QString::fromLatin1(e.Calc));
    for (auto _ : state)
        for (const QString& line : lines) {
            calc.SetCalcLine(line);
            benchmark::DoNotOptimize(calc.NumberNum());
        }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_TqvCalc);

void BM_MuParser_ParseAndEval(benchmark::State& state)
{
    MuParserSetup mu;
    std::vector<std::string> lines;
    for (const Expression& e : Expressions)
        lines.emplace_back(e.MuParser);
    for (auto _ : state)
        for (const std::string& line : lines) {
            mu.Parser.SetExpr(line);
            benchmark::DoNotOptimize(mu.Parser.Eval());
        }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_MuParser_ParseAndEval);

void BM_MuParser_EvalParsed(benchmark::State& state)
{
    std::vector<std::unique_ptr<MuParserSetup>> parsers;
    for (const Expression& e : Expressions) {
        parsers.push_back(std::make_unique<MuParserSetup>());
        parsers.back()->Parser.SetExpr(e.MuParser);
        parsers.back()->Parser.Eval(); // the first evaluation builds the byte code
    }
    for (auto _ : state)
        for (const auto& mu : parsers)
            benchmark::DoNotOptimize(mu->Parser.Eval());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * parsers.size()));
}
BENCHMARK(BM_MuParser_EvalParsed);

} // namespace

int main(int argc, char** argv)
{
    if (!ResultsAgree())
        return EXIT_FAILURE;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
