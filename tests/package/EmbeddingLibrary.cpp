// A static library that carries an image, as a builder library would.
int TouchLibraryThatEmbeds() {
    return 7;
}
