# Grove hunt
# A hunting script made by the hunting script generator of the Korveth Script Editor.
# It walks from [Town Square, Small Park] out to [Old Grove, Clearing], hunts goblin, hobgoblin
# and goblin, skins and loots what it kills, and walks back to rest when hurt.
#
# Start-up commands
put stand
pause 0.5
put wield my sword
pause 0.5
put stance offensive
pause 0.5
counter set 0
walkout:
echo Walking out to the hunting anchor.
move north
move go gate
move east
put look
match hunt [Old Grove, Clearing]
match lost You can't go there
matchwait
hunt:
echo Looking for something to hunt.
match walkback You are badly hurt
match walkback You are bleeding
match attack1 goblin
match attack2 hobgoblin
match attack3 goblin
match search Obvious
put look
matchwait
search:
pause 5
goto hunt
attack1:
put attack goblin
match kill1 goblin falls
match kill1 goblin dies
match hunt What are you trying to attack
match attack1 Roundtime
matchwait
attack2:
put attack hobgoblin
match kill2 hobgoblin falls
match kill2 hobgoblin dies
match hunt What are you trying to attack
match attack2 Roundtime
matchwait
attack3:
put attack goblin
match kill3 goblin falls
match kill3 goblin dies
match hunt What are you trying to attack
match attack3 Roundtime
matchwait
kill1:
pause 1
put skin goblin
pause 2
put stow my goblin skin
pause 0.5
goto loot
kill2:
pause 1
put skin hobgoblin
pause 2
pause 0.5
goto loot
kill3:
pause 1
put skin goblin
pause 2
pause 0.5
goto loot
loot:
put loot
pause 1
counter add 1
echo Kills so far: %c
goto hunt
walkback:
echo Walking back to rest.
move west
move go gate
move south
put look
match resting [Town Square, Small Park]
match lost You can't go there
matchwait
resting:
echo Resting at [Town Square, Small Park].
put sit
waitfor You feel fully rested
put stand
goto walkout
lost:
echo The path seems wrong: check the moves of this script.
exit
