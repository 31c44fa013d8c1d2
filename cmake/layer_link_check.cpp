// Linked with one layer's whole library and only the layers below it: it links only if nothing in
// the layer calls upward.
int main()
{
    return 0;
}
