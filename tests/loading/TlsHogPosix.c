/* A library that takes HOG_SIZE bytes of the static TLS block when it is
 * dlopen'ed, as a library built with the initial-exec TLS model does. */
__attribute__((tls_model("initial-exec"))) __thread char hog[HOG_SIZE];

char* tlsHog(void) {
    return hog;
}
