int extra() { return 0; }
