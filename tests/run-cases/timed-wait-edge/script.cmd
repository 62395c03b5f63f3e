put go
match got third
matchwait 3
echo missed
exit
got:
echo got it
