// A program that ends at once with a failure: the end-to-end tests offer it as
// an update to show that the starter brings the previous program back.
int main() {
    return 3;
}
