// Keeps a test program buildable while its folder has no tests yet.
