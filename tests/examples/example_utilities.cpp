// The expression calculator: the result, and where an error was found.
#include "utilities/qvscontrols.h"

#include <cstdio>

int main()
{
    Qvscontrols::TqvCalc calc;
    calc.SetCalcLine("2*(3+4)");
    std::printf("2*(3+4) = %g\n", double(calc.NumberNum()));
    calc.SetCalcLine("2*(3+");
    std::printf("2*(3+ fails at %d\n", int(calc.WhereIsLastError()));
    return 0;
}
