/* Links against AnalyzeLoan by its plain C name; the header must compile as C. */
#include <amortix.h>
#include <stdio.h>

int main(void)
{
    AnalyzeLoanFunction analyze = &AnalyzeLoan;
    printf("AnalyzeLoan found\n");
    return analyze ? 0 : 1;
}
