put look
match a There is a troll
match b A goblin
matchwait
a:
b:
