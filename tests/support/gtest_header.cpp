// Carries the precompiled GoogleTest header that the test executables reuse.
