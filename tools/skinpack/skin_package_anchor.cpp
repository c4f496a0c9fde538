// The skin package is this library's compiled-in resource; a static library needs one
// source of its own besides it.
namespace workmemo::skin_package_anchor {}
