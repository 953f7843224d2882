-- Tarvisk sample formation: tvk_arrow
formation = {
    spacing = 40,
    slots = { {0, 0, 0}, {-1, 0, -1}, {1, 0, -1}, },
}
