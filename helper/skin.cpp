#include <QtGlobal>

// The skin images are compiled into a static library (resources/). Calling
// its registration by name makes the linker take the images in, and makes a
// build without them fail to link (this library links with --no-undefined):
// a program that starts without its skin shows a black window and a tray
// icon without an image. It runs when this library loads, before any window
// asks for an image. (At global scope: the macro declares the function in
// the enclosing namespace.)
struct BrontelSkinRegistration {
    BrontelSkinRegistration() { Q_INIT_RESOURCE(brontel_skin); }
};

static const BrontelSkinRegistration s_skinRegistration;
