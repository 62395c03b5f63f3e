#ScriptName
# hunts in the grove

start:
  put stance offensive
	counter set 1
move:
match attack You also see
match move Obvious paths
matchwait
attack:
put attack
waitfor Roundtime
pause 2
counter add 1
goto move
if_1 goto %1
save %s
echo done
shift
wait
exit
