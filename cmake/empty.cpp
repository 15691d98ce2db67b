// Keeps the zt_logic library non-empty before its folders add their sources.
