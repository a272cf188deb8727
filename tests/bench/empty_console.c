/* The baseline of the benchmarks: a console program that does nothing. */
int main(void) {
    return 0;
}
