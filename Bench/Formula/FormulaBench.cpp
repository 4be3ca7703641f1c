// Evaluations per second of typical quantity formulas on one core. Each evaluation makes its
// context, as the quantity evaluation does, and answers names through the callbacks. The peer is
// muparser on the first formula.
#include "Formula/MathEvaluator.hpp"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstring>

namespace {

struct Quantity {
    const char* name;
    double value;
};

// The named quantities of a wall, as an element context would hold them.
const Quantity kWall[] = {
    {"Volume", 12.375},   {"Area", 41.25},   {"Length", 8.25},   {"Height", 3.0},
    {"Thickness", 0.3},   {"Openings", 2.0}, {"SurfaceA", 24.75}, {"SurfaceB", 23.1},
};

bool LookupVariable(Math_Context*, const char* name, double* value, Int32)
{
    for (const Quantity& q : kWall) {
        if (std::strcmp(q.name, name) == 0) {
            *value = q.value;
            return true;
        }
    }
    return false;
}

bool CallFunction(Math_Context*, const char* name, Math_Parameter* parameters, Int32 count, double* value)
{
    if (std::strcmp(name, "SkinVolume") != 0 || count != 1)
        return false;
    *value = 1.5 * parameters[0].value;
    return true;
}

const char* const kFormulas[] = {
    "Volume*1.05-Area*0.02",
    "Volume",
    "Area*Height",
    "ROUND(Volume*1.05,0.01)",
    "(Length>3)*Length*2",
    "SUM(SurfaceA,SurfaceB)/2-Openings*0.9",
    "SkinVolume(1)+Volume*0.1",
};

void EvaluateFormula(benchmark::State& state)
{
    const char* formula = kFormulas[state.range(0)];
    state.SetLabel(formula);
    double value = 0.0;
    for (auto _ : state) {
        Math_Context context;
        Math_InitContext(&context);
        Math_SetVariableResolver(&context, LookupVariable);
        Math_SetFunctionResolver(&context, CallFunction);
        if (Math_Evaluate(&context, formula, &value) != Math_NoError)
            state.SkipWithError(context.message != nullptr ? context.message : "failed");
        Math_ClearError(&context);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
}

// One parser for the whole run, with the wall's quantities as its variables; each evaluation hands it
// the formula text, as each quantity evaluation hands ours its formula.
void MuparserFormula(benchmark::State& state)
{
    mu::Parser parser;
    double values[sizeof kWall / sizeof kWall[0]];
    for (size_t i = 0; i < sizeof kWall / sizeof kWall[0]; ++i) {
        values[i] = kWall[i].value;
        parser.DefineVar(kWall[i].name, &values[i]);
    }
    const char* formula = kFormulas[0];
    state.SetLabel(formula);
    double value = 0.0;
    for (auto _ : state) {
        parser.SetExpr(formula);
        value = parser.Eval();
        benchmark::DoNotOptimize(value);
    }
    if (value != 12.375 * 1.05 - 41.25 * 0.02)
        state.SkipWithError("muparser gave another value");
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(MuparserFormula);
BENCHMARK(EvaluateFormula)->DenseRange(0, static_cast<int>(sizeof kFormulas / sizeof kFormulas[0]) - 1);
