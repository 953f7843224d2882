-- Layered sample, base game: the family list that the mod's own list replaces.
attackfamily = {
    { name = "Fighter", },
    { name = "Bomber", },
}
