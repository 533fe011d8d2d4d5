// A small program whose file stands in for a launcher image in the tests.
int main() {
    return 0;
}
