// Keeps a library non-empty while its folder holds only headers.
