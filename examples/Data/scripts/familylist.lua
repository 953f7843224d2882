-- Tarvisk sample data: the class lists that the Classification sheet offers.
-- Written for the editor; the names are invented for the fictional Tarvish fleet.
armourfamily = {
    { name = "Unarmoured", },
    { name = "LightArmour", },
    { name = "HeavyArmour", },
}
attackfamily = {
    { name = "Fighter", },
    { name = "Corvette", },
    { name = "Frigate", },
    { name = "Capital", },
}
autoformationfamily = {
    { name = "SmallCraft", },
    { name = "LineShip", },
}
avoidancefamily = {
    { name = "Tiny", },
    { name = "Small", },
    { name = "Big", },
}
buildfamily = {
    { name = "Tvk_Yard", },
    { name = "Tvk_Dock", },
}
collisionfamily = {
    { name = "Light", },
    { name = "Heavy", },
}
displayfamily = {
    { name = "Scout", },
    { name = "Gunship", },
    { name = "Carrier", },
}
dockfamily = {
    { name = "Strike", },
    { name = "Utility", },
}
unitcapsfamily = {
    { name = "Fighter", },
    { name = "Capital", },
}
