-- Tarvisk sample formation: DELTA
formation = {
    spacing = 40,
    slots = { {0, 0, 0}, {-1, 0, -1}, {1, 0, -1}, },
}
