-- Layered sample, the mod: its family list replaces the base game's (no "Bomber" here).
attackfamily = {
    { name = "Fighter", },
    { name = "Raider", },
}
