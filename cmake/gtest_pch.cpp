// Compiled only to make the precompiled GoogleTest header the tests share.
