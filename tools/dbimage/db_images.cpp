// workmemo_db_images holds only compiled-in resources, which Qt links through an object
// library of their own; this file gives the archive the one member a library must have.
