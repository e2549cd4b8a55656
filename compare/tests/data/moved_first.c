#include <stdio.h>

static int square(int x)
{
    return x * x;
}

static int cube(int x)
{
    return x * x * x;
}

static void report(const char *name, int value)
{
    printf("%s = %d\n", name, value);
}

int main(void)
{
    report("square", square(3));
    report("cube", cube(3));
    return 0;
}
