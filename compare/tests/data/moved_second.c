#include <stdio.h>

static int cube(int x)
{
    return x * x * x;
}

static void report(const char *name, long value)
{
    printf("%s = %ld\n", name, value);
}

int main(void)
{
    report("square", square(3));
    report("cube", cube(3));
    report("done", 0);
    return 0;
}

static int square(int x)
{
    return x * x;
}
