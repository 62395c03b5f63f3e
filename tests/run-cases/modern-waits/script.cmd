action put stand when You are knocked down
action goto flee when /dragon/i
put go
waitfor ready
pause 2
match done The end
matchwait 3
echo timed out at %t
timer start
move north
matchre done /^You (hit|miss)/
matchwait
flee:
echo fled
exit
done:
echo done
