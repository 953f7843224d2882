-- Tarvisk sample data: the class lists that the Classification sheet offers.
-- Written for the editor; the names are invented for the fictional Tarvish fleet.
armourfamily = {
    { name = "Unarmoured", },
    { name = "LightArmour", },
    { name = "HeavyArmour", },
    { name = "MediumArmour", },
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
    { name = "Scout", },
    { name = "Frigate", },
}
avoidancefamily = {
    { name = "Tiny", },
    { name = "Small", },
    { name = "Big", },
    { name = "Strikecraft", },
    { name = "Frigate", },
    { name = "MotherShip", },
}
buildfamily = {
    { name = "Tvk_Yard", },
    { name = "Tvk_Dock", },
    { name = "Fighter_Tvk", },
}
collisionfamily = {
    { name = "Light", },
    { name = "Heavy", },
    { name = "Small", },
    { name = "Big", },
}
displayfamily = {
    { name = "Scout", },
    { name = "Gunship", },
    { name = "Carrier", },
    { name = "Fighter", },
    { name = "Frigate", },
}
dockfamily = {
    { name = "Strike", },
    { name = "Utility", },
    { name = "Scout", },
    { name = "Frigate", },
}
unitcapsfamily = {
    { name = "Fighter", },
    { name = "Capital", },
    { name = "Frigate", },
}
