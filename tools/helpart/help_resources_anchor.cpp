// The help texts and pictures are this library's compiled-in resources; a static library
// needs one source of its own besides them.
namespace workmemo::help_resources_anchor {}
